#include "ParameterLayout.h"
#include "ParameterSettings.h"
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

namespace
{
class CountingListener : public juce::AudioProcessorParameter::Listener
{
public:
    void parameterValueChanged (int, float) override { ++changes; }
    void parameterGestureChanged (int, bool) override { ++gestures; }
    int changes = 0, gestures = 0;
};

class SettingsTest : public ::testing::Test
{
protected:
    void changeSomeValues()
    {
        setPlainValue (processor, "bypass", 1.0f);
        setPlainValue (processor, "input_level", 6.0f);
        setPlainValue (processor, "gain_2_3", -4.5f);
        setPlainValue (processor, "type_1_3", 1.0f);
        setPlainValue (processor, "process_A", 0.0f);
        setPlainValue (processor, "process_M", 1.0f);
        setPlainValue (processor, "preset", 7.0f);
    }

    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
};
} // namespace

TEST_F (SettingsTest, CaptureWritesEveryParameterButPresetInRegistrationOrderWithRoundTripTexts)
{
    juce::XmlElement settings ("S");
    settings.setAttribute ("stale", "x");
    captureParameterValues (processor, settings);

    ASSERT_EQ (settings.getNumAttributes(), 58);
    int index = 0;
    for (const auto* id : ParameterIds::registrationOrder())
    {
        if (juce::String (id) != "preset")
        {
            EXPECT_EQ (settings.getAttributeName (index), juce::String (id));
            ++index;
        }
    }

    EXPECT_EQ (settings.getStringAttribute ("bypass"), "0.0");
    EXPECT_EQ (settings.getStringAttribute ("solo"), "1.0");
    EXPECT_EQ (settings.getStringAttribute ("gain"), "0.6242951154708862");
    EXPECT_EQ (settings.getStringAttribute ("out_1_1"), "0.5");
}

TEST_F (SettingsTest, ApplyingThePlaceholderOnlyTurnsBypassOffAndAnnouncesEveryParameter)
{
    changeSomeValues();
    const auto before = normalisedValues (processor);

    CountingListener listener;
    for (auto* p : processor.getParameters())
        p->addListener (&listener);

    juce::XmlElement placeholder ("preset1");
    placeholder.setAttribute ("bypass", "0.0");
    placeholder.setAttribute ("presetName", "Load preset...");
    applyParameterValues (placeholder, processor);

    for (auto* p : processor.getParameters())
        p->removeListener (&listener);

    auto after = normalisedValues (processor);
    EXPECT_EQ (after["bypass"], 0.0f);
    after["bypass"] = before.at ("bypass");
    EXPECT_EQ (after, before);
    EXPECT_EQ (listener.changes, 58);
    EXPECT_EQ (listener.gestures, 0);
    EXPECT_EQ (processor.currentValue (ConvolutionEqAudioProcessor::CachedValue::bypass), 0.0f);
}

TEST_F (SettingsTest, PresetIsNeverApplied)
{
    juce::XmlElement settings ("S");
    settings.setAttribute ("preset", "0.5");
    applyParameterValues (settings, processor);
    EXPECT_EQ (plainValue (processor, "preset"), 0.0f);
}

TEST_F (SettingsTest, NonFiniteTextsKeepTheCurrentValueAndOtherTextsAreBounded)
{
    setPlainValue (processor, "gain_1_1", 3.0f);
    setPlainValue (processor, "out_1_2", -2.0f);
    setPlainValue (processor, "frequency_1_3", 12500.0f);
    const auto before = normalisedValues (processor);

    juce::XmlElement settings ("S");
    settings.setAttribute ("gain_1_1", "nan");
    settings.setAttribute ("out_1_2", "inf");
    settings.setAttribute ("frequency_1_3", "-inf");
    settings.setAttribute ("gain", "1e39");             // beyond float range
    settings.setAttribute ("gain_2_3", "1e4294967297"); // exponent beyond int range
    settings.setAttribute ("solo_1", "7.5");
    settings.setAttribute ("gain_2_1", "-3");
    settings.setAttribute ("gain_2_2", "not a number");
    applyParameterValues (settings, processor);

    auto after = normalisedValues (processor);
    for (const auto* id : { "gain_1_1", "out_1_2", "frequency_1_3", "gain", "gain_2_3" })
        EXPECT_EQ (after[id], before.at (id)) << id;
    EXPECT_EQ (after["solo_1"], 1.0f);
    EXPECT_EQ (after["gain_2_1"], 0.0f);
    EXPECT_EQ (after["gain_2_2"], 0.0f); // non-numeric text reads as 0

    for (int i = 0; i < ConvolutionEqAudioProcessor::numCachedValues; ++i)
        EXPECT_TRUE (std::isfinite (processor.currentValue ((ConvolutionEqAudioProcessor::CachedValue) i)));
}

TEST_F (SettingsTest, FirstABChangesNothingAndStoresTheCurrentSettings)
{
    changeSomeValues();
    const auto before = normalisedValues (processor);
    auto& snapshot = processor.getABSnapshot();
    EXPECT_EQ (&snapshot.processor, static_cast<juce::AudioProcessor*> (&processor));
    EXPECT_EQ (snapshot.values.getNumAttributes(), 0);

    snapshot.swapWithCurrent();
    EXPECT_EQ (normalisedValues (processor), before);
    EXPECT_EQ (snapshot.values.getNumAttributes(), 58);
    EXPECT_EQ (snapshot.values.getTagName(), "AB");
}

TEST_F (SettingsTest, ABTwiceReturnsToTheFirstSettings)
{
    auto& snapshot = processor.getABSnapshot();
    const auto first = normalisedValues (processor);
    snapshot.keepCurrent();

    changeSomeValues();
    const auto second = normalisedValues (processor);

    snapshot.swapWithCurrent();
    auto shown = normalisedValues (processor);
    EXPECT_EQ (shown["preset"], second.at ("preset")); // not part of A-B
    shown["preset"] = first.at ("preset");
    EXPECT_EQ (shown, first);

    snapshot.swapWithCurrent();
    EXPECT_EQ (normalisedValues (processor), second);
}

TEST_F (SettingsTest, SettingsAreHeldWhenApplyingThemWouldLeaveEveryParameterAtItsStep)
{
    setPlainValue (processor, "gain_1_1", 4.0f);
    setPlainValue (processor, "bypass", 0.0f);
    setPlainValue (processor, "gain_L", 12.0f); // the end of its range
    setPlainValue (processor, "type_1_3", 1.0f);
    juce::XmlElement own ("S");
    captureParameterValues (processor, own);
    const auto gainStep = [this] (float dB) { return (double) parameter (processor, "gain_1_1").convertTo0to1 (dB); };

    struct Case
    {
        const char* change; // to the processor's own settings
        const char* id;
        juce::String text; // empty: the attribute left out
        bool held;
    };
    const std::vector<Case> cases{
        { "none", nullptr, {}, true },
        { "the next step of a gain", "gain_1_1", juce::String (gainStep (4.1f)), false },
        { "a text that reads within the same step", "gain_1_1", juce::String (gainStep (4.0f) + 1.0e-5), true },
        { "a switch's text below one half", "bypass", "0.3", true },
        { "a switch's text above one half", "bypass", "0.7", false },
        { "the other type", "type_1_3", "0.0", false },
        { "a value beyond the range's end", "gain_L", "1.5", true },
        { "no number", "gain_1_1", "nan", true },
        { "the attribute left out", "gain_1_1", {}, true },
        { "another preset parameter", "preset", "0.5", true },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        auto settings = own;
        if (c.id != nullptr && c.text.isEmpty())
            settings.removeAttribute (c.id);
        else if (c.id != nullptr)
            settings.setAttribute (c.id, c.text);
        EXPECT_EQ (holdsParameterValues (settings, processor), c.held);
    }
    EXPECT_TRUE (holdsParameterValues (juce::XmlElement ("Empty"), processor));
}

TEST_F (SettingsTest, EveryDefaultPresetHoldsItsOwnSettingsAfterAStateRoundTripAndNoOther)
{
    const auto& presets = processor.getPresetStore().presets;
    ASSERT_EQ (presets.getNumChildElements(), 8);
    // The placeholder holds bypass alone, which every factory preset has off.
    for (int chosen = 1; chosen < 8; ++chosen)
    {
        SCOPED_TRACE (presets.getChildElement (chosen)->getStringAttribute ("presetName"));
        ConvolutionEqAudioProcessor saving;
        applyParameterValues (*presets.getChildElement (chosen), saving);
        juce::MemoryBlock state;
        saving.getStateInformation (state);
        ConvolutionEqAudioProcessor reopened;
        reopened.setStateInformation (state.getData(), (int) state.getSize());

        for (int other = 1; other < 8; ++other)
            EXPECT_EQ (holdsParameterValues (*presets.getChildElement (other), reopened), other == chosen) << other;
        EXPECT_TRUE (holdsParameterValues (*presets.getChildElement (0), reopened));
    }
}
