// Reads arbitrary bytes as presets.xml, lists the presets and applies the first few of them.
#include "FuzzProcessor.h"
#include "ParameterSettings.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    auto& processor = fuzzProcessor();
    auto& store = processor.getPresetStore();

    if (! store.presetFile.replaceWithData (data, size))
        return 0;

    store.presets.deleteAllChildElements();
    store.reloadFromFile();

    for (int i = 0; i < store.getNumListedPresets(); ++i)
    {
        auto* preset = store.presets.getChildElement (i);
        juce::ignoreUnused (preset->getStringAttribute ("presetName"));

        // Applying is slow next to parsing; a few presets cover its paths.
        if (i < 4)
        {
            applyParameterValues (*preset, processor);
            requireFiniteParameters (processor);
        }
    }

    // The in-memory parser sees the same document.
    auto parsed = PresetStore::parseDocument (data, size);
    juce::ignoreUnused (parsed);
    return 0;
}
