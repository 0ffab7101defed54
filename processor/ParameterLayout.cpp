#include "ParameterLayout.h"

namespace ParameterIds
{
juce::String band (const char* prefix, int channel, int bandNumber)
{
    return juce::String (prefix) + "_" + juce::String (channel) + "_" + juce::String (bandNumber);
}

const std::array<const char*, numParameters>& registrationOrder()
{
    static const std::array<const char*, numParameters> order{
        "bypass",        "preset",        "input_level",   "gain",          "solo",          "phase",
        "gain_L",        "link_gain",     "gain_R",        "phase_L",       "phase_R",       "process_L",
        "process_R",     "process_M",     "process_S",     "process_A",     "link_MSLR",     "solo_1",
        "solo_2",        "frequency_1_1", "frequency_1_2", "frequency_1_3", "button_LP_1_1", "button_PK_1_1",
        "button_PK_1_2", "button_HP_1_3", "button_PK_1_3", "type_1_1",      "type_1_2",      "type_1_3",
        "gain_1_1",      "gain_1_2",      "gain_1_3",      "out_1_1",       "out_1_2",       "out_1_3",
        "active_1_1",    "active_1_2",    "active_1_3",    "frequency_2_1", "frequency_2_2", "frequency_2_3",
        "button_PK_2_1", "button_LP_2_1", "button_PK_2_2", "button_HP_2_3", "button_PK_2_3", "type_2_1",
        "type_2_2",      "type_2_3",      "gain_2_1",      "gain_2_2",      "gain_2_3",      "out_2_1",
        "out_2_2",       "out_2_3",       "active_2_1",    "active_2_2",    "active_2_3",
    };
    return order;
}
} // namespace ParameterIds

namespace ParameterRanges
{
juce::NormalisableRange<float> level()
{
    return { -96.0f, 12.0f, 0.1f, 4.0f, false };
}

juce::NormalisableRange<float> frequency (int band)
{
    switch (band)
    {
        case 1:
            return { 50.0f, 400.0f, 1.0f, 1.0f, true };
        case 2:
            return { 400.0f, 5000.0f, 1.0f, 1.0f, true };
        default:
            return { 5000.0f, 15000.0f, 1.0f, 1.0f, true };
    }
}

juce::NormalisableRange<float> bandGain()
{
    return { -12.0f, 12.0f, 0.1f, 1.0f, true };
}

juce::NormalisableRange<float> outputGain()
{
    return { -6.0f, 6.0f, 0.1f, 1.0f, true };
}
} // namespace ParameterRanges

std::unique_ptr<juce::AudioParameterFloat>
makeGainParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue)
{
    return std::make_unique<juce::AudioParameterFloat> (id, "Gain", range, defaultValue);
}

std::unique_ptr<juce::AudioParameterBool> makeBoolParameter (const juce::String& id, const juce::String& name,
                                                             const bool& defaultValue)
{
    return std::make_unique<juce::AudioParameterBool> (id, name, defaultValue);
}

std::unique_ptr<juce::AudioParameterBool> makePhaseParameter (const juce::String& id, const bool& defaultValue)
{
    return std::make_unique<juce::AudioParameterBool> (id, "Invert Phase", defaultValue);
}

std::unique_ptr<juce::AudioParameterFloat>
makeFrequencyParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue)
{
    return std::make_unique<juce::AudioParameterFloat> (id, "Frequency", range, defaultValue);
}

juce::StringArray makeTypeChoices (const juce::String& secondChoice)
{
    return { "PK", secondChoice };
}

std::unique_ptr<juce::AudioParameterChoice> makeTypeParameter (const juce::String& id, const juce::StringArray& choices,
                                                               const int& defaultIndex)
{
    return std::make_unique<juce::AudioParameterChoice> (id, "Type", choices, defaultIndex);
}

std::unique_ptr<juce::AudioParameterFloat>
makeBandGainParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue)
{
    return std::make_unique<juce::AudioParameterFloat> (id, "Band Gain", range, defaultValue);
}

std::unique_ptr<juce::AudioParameterFloat>
makeOutputGainParameter (const juce::String& id, const juce::NormalisableRange<float>& range, const float& defaultValue)
{
    return std::make_unique<juce::AudioParameterFloat> (id, "Output Gain", range, defaultValue);
}

std::unique_ptr<juce::AudioParameterBool> makeActiveParameter (const juce::String& id, const bool& defaultValue)
{
    return std::make_unique<juce::AudioParameterBool> (id, "Active", defaultValue);
}

namespace
{
// One processing channel's block: frequencies, band-type switches, types, band gains, trims and
// band switches. Channel 1 registers its band-1 switches LP before PK, channel 2 PK before LP.
void addChannelParameters (juce::AudioProcessorValueTreeState::ParameterLayout& layout, int channel)
{
    using namespace ParameterIds;

    const float defaultFrequencies[]{ 50.0f, 1500.0f, 10000.0f };
    for (int b = 1; b <= 3; ++b)
        layout.add (makeFrequencyParameter (band (frequencyPrefix, channel, b), ParameterRanges::frequency (b),
                                            defaultFrequencies[b - 1]));

    const bool off = false, on = true;
    if (channel == 1)
    {
        layout.add (makeBoolParameter (band ("button_LP", channel, 1), "LP", off));
        layout.add (makeBoolParameter (band ("button_PK", channel, 1), "PK", on));
    }
    else
    {
        layout.add (makeBoolParameter (band ("button_PK", channel, 1), "PK", on));
        layout.add (makeBoolParameter (band ("button_LP", channel, 1), "LP", off));
    }
    layout.add (makeBoolParameter (band ("button_PK", channel, 2), "PK", on));
    layout.add (makeBoolParameter (band ("button_HP", channel, 3), "HP", off));
    layout.add (makeBoolParameter (band ("button_PK", channel, 3), "PK", on));

    const int firstChoice = 0;
    layout.add (makeTypeParameter (band (typePrefix, channel, 1), makeTypeChoices ("LP"), firstChoice));
    layout.add (makeTypeParameter (band (typePrefix, channel, 2), makeTypeChoices ("LP"), firstChoice));
    layout.add (makeTypeParameter (band (typePrefix, channel, 3), makeTypeChoices ("HP"), firstChoice));

    const float zeroDecibels = 0.0f;
    for (int b = 1; b <= 3; ++b)
        layout.add (
            makeBandGainParameter (band (bandGainPrefix, channel, b), ParameterRanges::bandGain(), zeroDecibels));
    for (int b = 1; b <= 3; ++b)
        layout.add (
            makeOutputGainParameter (band (outputGainPrefix, channel, b), ParameterRanges::outputGain(), zeroDecibels));
    for (int b = 1; b <= 3; ++b)
        layout.add (makeActiveParameter (band (activePrefix, channel, b), on));
}
} // namespace

juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout()
{
    using namespace ParameterIds;

    juce::AudioProcessorValueTreeState::ParameterLayout layout;
    const bool off = false, on = true;
    const float zeroDecibels = 0.0f;

    layout.add (std::make_unique<juce::AudioParameterBool> (bypass, "Bypass", false));
    layout.add (std::make_unique<juce::AudioParameterInt> (preset, "Preset", 0, 100, 0));
    layout.add (
        std::make_unique<juce::AudioParameterFloat> (inputLevel, "Input level", ParameterRanges::level(), 0.0f));
    layout.add (std::make_unique<juce::AudioParameterFloat> (gain, "Gain", ParameterRanges::level(), 0.0f));
    layout.add (std::make_unique<juce::AudioParameterBool> (solo, "Solo", true));
    layout.add (std::make_unique<juce::AudioParameterBool> (phase, "Invert Phase", false));
    layout.add (makeGainParameter (gainL, ParameterRanges::level(), zeroDecibels));
    layout.add (makeBoolParameter (linkGain, "Link", on));
    layout.add (makeGainParameter (gainR, ParameterRanges::level(), zeroDecibels));
    layout.add (makePhaseParameter (phaseL, off));
    layout.add (makePhaseParameter (phaseR, off));
    layout.add (makeBoolParameter (processL, "Left", off));
    layout.add (makeBoolParameter (processR, "Right", off));
    layout.add (makeBoolParameter (processM, "Mid", off));
    layout.add (makeBoolParameter (processS, "Sides", off));
    layout.add (makeBoolParameter (processA, "All", on));
    layout.add (std::make_unique<juce::AudioParameterBool> (linkMSLR, "Link MSLR", true));
    layout.add (makeBoolParameter (solo1, "Solo CH1", on));
    layout.add (makeBoolParameter (solo2, "Solo CH2", on));

    addChannelParameters (layout, 1);
    addChannelParameters (layout, 2);
    return layout;
}
