#include "FilterGroupComponent.h"

#include "BandSetSlot.h"
#include "ChannelMode.h"
#include "SharedPaint.h"

namespace
{
// A switch's plain value counts as on unless it is exactly 0, so a NaN counts as on.
bool isOn (const std::atomic<float>* value) noexcept
{
    return value != nullptr && value->load (std::memory_order_relaxed) != 0.0f;
}
} // namespace

FilterGroupComponent::FilterGroupComponent (juce::AudioProcessorValueTreeState& s,
                                            const juce::AudioChannelSet& mainOutput, const BandSetSlot& bandSetSlot)
    : juce::GroupComponent ({}, {})
    , state (s)
    , monoOutput (mainOutput == juce::AudioChannelSet::mono())
    , channel (bandSetSlot.getChannel())
    , band1 (s, bandSetSlot, channel, 0)
    , band2 (s, bandSetSlot, channel, 1)
    , band3 (s, bandSetSlot, channel, 2)
{
    fillColourPalette (palette);
    updateTitle();

    for (auto* panel : bandPanels)
    {
        panel->setVisible (true);
        addAndMakeVisible (*panel);
    }

    setSize (330, 560);

    const auto colour = channel == 1 ? channel1Colour : channel2Colour;
    setColour (juce::GroupComponent::outlineColourId, colour);
    setColour (juce::GroupComponent::textColourId, colour);
}

FilterGroupComponent::~FilterGroupComponent() = default;

void FilterGroupComponent::paint (juce::Graphics& g)
{
    paintTransparentGroup (*this, g);
}

void FilterGroupComponent::resized()
{
    // The panels are taller than the group the editor gives it; their stacks end above its edge.
    band1.setBounds (20, 20, 150, 460);
    band2.setBounds (180, 20, 150, 460);
    band3.setBounds (340, 20, 150, 460);
}

void FilterGroupComponent::resetBands()
{
    for (auto* panel : bandPanels)
        panel->resetBand();
    repaint();
}

void FilterGroupComponent::updateTitle()
{
    channel1Colour = palette[PaletteColour::channel1Group];
    channel2Colour = palette[PaletteColour::channel2Group];

    const char* modeIds[] = { "process_L", "process_R", "process_M", "process_S", "process_A" };
    for (size_t i = 0; i < modeSwitches.size(); ++i)
        modeSwitches[i] = state.getRawParameterValue (modeIds[i]);
    linkMSLR = state.getRawParameterValue ("link_MSLR");

    if (monoOutput)
    {
        setVisible (channel == 1);
        setText ("Mono");
        return;
    }

    const ChannelMode modes[] = { ChannelMode::left, ChannelMode::right, ChannelMode::mid, ChannelMode::sides,
                                  ChannelMode::all };
    for (size_t i = 0; i < modeSwitches.size(); ++i)
    {
        if (isOn (modeSwitches[i]))
        {
            const auto mode = modes[i];
            setVisible (channelShowingMode (mode) == channel);
            setText (channelModeTitle (mode, isOn (linkMSLR)));
            return;
        }
    }
}
