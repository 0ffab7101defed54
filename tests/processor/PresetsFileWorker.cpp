// One of several processes sharing a presets file, for the test that runs them side by side:
//   larkspur_presets_file_worker <name prefix> <go file> <report file>
// Waits for the go file, then saves five presets "<prefix>-0" ... "<prefix>-4" and deletes
// "<prefix>-1" and "<prefix>-3" after the next save, so deletes meet other processes' saves. Each
// line of the report names what the store said it did: "saved <name>" or "deleted <name>".
#include "ConvolutionEqAudioProcessor.h"

#include <juce_events/juce_events.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace
{
int positionOf (const PresetStore& store, const juce::String& name)
{
    for (int i = 0; i < store.presets.getNumChildElements(); ++i)
        if (store.presets.getChildElement (i)->getStringAttribute ("presetName") == name)
            return i + 1;
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const juce::String prefix (argv[1]);
    const juce::File go (argv[2]);
    std::ofstream report (argv[3]);

    const juce::ScopedJuceInitialiser_GUI framework;
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();

    for (int waited = 0; ! go.exists() && waited < 20000; ++waited)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));

    for (int i = 0; i < 5; ++i)
    {
        const auto name = prefix + "-" + juce::String (i);
        if (store.savePreset (name))
            report << "saved " << name << std::endl;

        if (i == 2 || i == 4)
        {
            const auto earlier = prefix + "-" + juce::String (i - 1);
            const auto position = positionOf (store, earlier);
            if (position > 0 && store.deletePreset (position) && positionOf (store, earlier) == 0)
                report << "deleted " << earlier << std::endl;
        }
    }
    return 0;
}
