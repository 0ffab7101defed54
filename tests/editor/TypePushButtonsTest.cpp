#include "TypePushButtons.h"
#include "BandConvolver.h"
#include "BandSetSlot.h"
#include "ConvolutionEqAudioProcessor.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace
{
juce::DrawableButton* typeButton (TypePushButtons& buttons, const juce::String& name)
{
    for (auto* child : buttons.getChildren())
        if (child->getName() == name)
            return dynamic_cast<juce::DrawableButton*> (child);
    return nullptr;
}

juce::String typeOf (ConvolutionEqAudioProcessor& processor, int channel, int band)
{
    return processor.getTypeParameter (channel, band)->getCurrentChoiceName();
}

// What the value-tree state's listeners and the host hear.
struct Announcements : juce::AudioProcessorValueTreeState::Listener, juce::AudioProcessorListener
{
    Announcements (ConvolutionEqAudioProcessor& p, const juce::String& id)
        : processor (p)
        , parameterId (id)
    {
        processor.getValueTreeState().addParameterListener (parameterId, this);
        processor.addListener (this);
    }

    ~Announcements() override
    {
        processor.removeListener (this);
        processor.getValueTreeState().removeParameterListener (parameterId, this);
    }

    void parameterChanged (const juce::String&, float newValue) override { stateValues.push_back (newValue); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float newValue) override
    {
        if (processor.getParameters()[index] == &parameter (processor, parameterId))
            hostValues.push_back (newValue);
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    ConvolutionEqAudioProcessor& processor;
    juce::String parameterId;
    std::vector<float> stateValues, hostValues;
};

struct PreparedProcessor
{
    PreparedProcessor() { processor.prepareToPlay (48000.0, 512); }
    ~PreparedProcessor() { processor.releaseResources(); }

    // Lets the audio thread take whatever selection is pending.
    void processBlocks (int count)
    {
        juce::AudioBuffer<float> block (2, 512);
        juce::MidiBuffer midi;
        for (int i = 0; i < count; ++i)
        {
            block.clear();
            processor.processBlock (block, midi);
        }
    }

    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
};

void settle()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}
} // namespace

TEST (TypePushButtonsTest, ClickingHighPassSelectsItAtOnceAndRecordsItAnnounced)
{
    PreparedProcessor prepared;
    auto& processor = prepared.processor;
    setPlainValue (processor, "frequency_2_3", 7000.0f);
    setPlainValue (processor, "gain_2_3", 4.0f);
    settle();

    BandSetSlot slot (processor, 2);
    TypePushButtons buttons (processor.getValueTreeState(), slot, 2, 2);
    auto* high = typeButton (buttons, "HP");
    auto* peak = typeButton (buttons, "PK");
    ASSERT_NE (high, nullptr);
    ASSERT_NE (peak, nullptr);
    const auto band = slot.band (2);
    EXPECT_TRUE (band->isCurrentSelection (7000.0, "PK", 4.0));

    Announcements announcements (processor, "type_2_3");

    // What a click on the switched-off HP button does, without waiting for the message loop.
    high->setToggleState (true, juce::sendNotificationSync);

    EXPECT_TRUE (band->isCurrentSelection (7000.0, "HP", 4.0));
    EXPECT_TRUE (band->isPending());
    EXPECT_EQ (plainValue (processor, "button_HP_2_3"), 1.0f);
    EXPECT_EQ (plainValue (processor, "button_PK_2_3"), 0.0f);
    EXPECT_FALSE (peak->getToggleState());
    EXPECT_EQ (typeOf (processor, 2, 3), "HP");

    // Announced once, for HP only: the PK button switched off by the radio group chooses nothing.
    EXPECT_EQ (announcements.stateValues, std::vector<float>{ 1.0f });
    EXPECT_EQ (announcements.hostValues, std::vector<float>{ 1.0f });

    // The band on the other channel is untouched.
    EXPECT_EQ (typeOf (processor, 1, 3), "PK");

    // A project saved now plays HP when it is loaded again.
    juce::MemoryBlock saved;
    processor.getStateInformation (saved);
    ConvolutionEqAudioProcessor reloaded;
    reloaded.setStateInformation (saved.getData(), (int) saved.getSize());
    reloaded.prepareToPlay (48000.0, 512);
    EXPECT_EQ (typeOf (reloaded, 2, 3), "HP");
    EXPECT_TRUE (BandSetSlot (reloaded, 2).band (2)->isCurrentSelection (7000.0, "HP", 4.0));
    reloaded.releaseResources();
}

TEST (TypePushButtonsTest, UserClicksSwitchTheRadioGroupAndReselectingTheActiveTypeReselects)
{
    PreparedProcessor prepared;
    auto& processor = prepared.processor;
    BandSetSlot slot (processor, 1);
    TypePushButtons buttons (processor.getValueTreeState(), slot, 1, 0);
    auto* low = typeButton (buttons, "LP");
    auto* peak = typeButton (buttons, "PK");
    ASSERT_NE (low, nullptr);
    ASSERT_NE (peak, nullptr);

    low->triggerClick();
    settle();
    EXPECT_TRUE (low->getToggleState());
    EXPECT_FALSE (peak->getToggleState());
    EXPECT_EQ (plainValue (processor, "button_LP_1_1"), 1.0f);
    EXPECT_EQ (plainValue (processor, "button_PK_1_1"), 0.0f);
    EXPECT_EQ (typeOf (processor, 1, 1), "LP");

    const auto band = slot.band (0);
    const double frequency = plainValue (processor, "frequency_1_1");
    const double gain = plainValue (processor, "gain_1_1");
    EXPECT_TRUE (band->isCurrentSelection (frequency, "LP", gain));

    prepared.processBlocks (12);
    ASSERT_FALSE (band->isPending());

    low->triggerClick();
    settle();
    EXPECT_TRUE (low->getToggleState());
    EXPECT_TRUE (band->isPending());
    EXPECT_TRUE (band->isCurrentSelection (frequency, "LP", gain));

    peak->triggerClick();
    settle();
    EXPECT_FALSE (low->getToggleState());
    EXPECT_EQ (typeOf (processor, 1, 1), "PK");
    EXPECT_TRUE (band->isCurrentSelection (frequency, "PK", gain));
}

TEST (TypePushButtonsTest, OpeningAlignsTheTypeWithTheSwitchesAndTheLaterSwitchWins)
{
    const struct
    {
        int channel, bandIndex;
        std::map<juce::String, float> switches;
        juce::String expectedType;
        std::map<juce::String, float> expectedSwitches;
    } cases[] = {
        { 1, 0, { { "button_LP_1_1", 1.0f }, { "button_PK_1_1", 0.0f } }, "LP", { { "button_PK_1_1", 0.0f } } },
        { 1, 0, { { "button_LP_1_1", 1.0f }, { "button_PK_1_1", 1.0f } }, "LP", { { "button_PK_1_1", 0.0f } } },
        { 2, 2, { { "button_HP_2_3", 1.0f }, { "button_PK_2_3", 1.0f } }, "PK", { { "button_HP_2_3", 0.0f } } },
        { 2, 2, { { "button_HP_2_3", 1.0f }, { "button_PK_2_3", 0.0f } }, "HP", { { "button_PK_2_3", 0.0f } } },
        { 1, 1, { { "button_PK_1_2", 1.0f } }, "PK", { { "button_PK_1_2", 1.0f } } },
    };

    for (const auto& c : cases)
    {
        PreparedProcessor prepared;
        auto& processor = prepared.processor;
        for (const auto& [id, value] : c.switches)
            setPlainValue (processor, id, value);

        const auto typeId = "type_" + juce::String (c.channel) + "_" + juce::String (c.bandIndex + 1);
        SCOPED_TRACE (typeId + " " + c.expectedType);
        Announcements announcements (processor, typeId);

        BandSetSlot slot (processor, c.channel);
        TypePushButtons buttons (processor.getValueTreeState(), slot, c.channel, c.bandIndex);

        EXPECT_EQ (typeOf (processor, c.channel, c.bandIndex + 1), c.expectedType);
        for (const auto& [id, value] : c.expectedSwitches)
            EXPECT_EQ (plainValue (processor, id), value) << id;

        // The host hears of a change, and only of one.
        EXPECT_EQ (announcements.hostValues.size(), c.expectedType == "PK" ? 0u : 1u);
    }
}

TEST (TypePushButtonsTest, EachBandShowsItsOwnPairAndTheMiddleBandNone)
{
    const struct
    {
        int bandIndex;
        std::map<juce::String, juce::Rectangle<int>> bounds;
    } cases[] = {
        { 0, { { "LP", { 0, 0, 60, 40 } }, { "PK", { 60, 0, 60, 40 } } } },
        { 1, { { "PK", {} } } },
        { 2, { { "PK", { 0, 0, 60, 40 } }, { "HP", { 60, 0, 60, 40 } } } },
    };

    PreparedProcessor prepared;
    BandSetSlot slot (prepared.processor, 1);
    for (const auto& c : cases)
    {
        TypePushButtons buttons (prepared.processor.getValueTreeState(), slot, 1, c.bandIndex);
        EXPECT_EQ (buttons.getBounds(), juce::Rectangle<int> (0, 0, 120, 40));
        EXPECT_EQ (buttons.getNumChildComponents(), (int) c.bounds.size());
        for (const auto& [name, expected] : c.bounds)
        {
            auto* button = typeButton (buttons, name);
            ASSERT_NE (button, nullptr) << name;
            EXPECT_EQ (button->getBounds(), expected) << name;
            EXPECT_EQ (button->getRadioGroupId(), TypePushButtons::radioGroup);
        }
    }
}

TEST (TypePushButtonsTest, OnGlyphsTakeTheAccentColourAndOffGlyphsTheGrey)
{
    PreparedProcessor prepared;
    setPlainValue (prepared.processor, "button_LP_1_1", 1.0f);
    BandSetSlot slot (prepared.processor, 1);
    TypePushButtons buttons (prepared.processor.getValueTreeState(), slot, 1, 0);
    const auto image = buttons.createComponentSnapshot (buttons.getLocalBounds());

    const auto count = [&image] (juce::Rectangle<int> area, juce::Colour colour)
    {
        int pixels = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (image.getPixelAt (x, y) == colour)
                    ++pixels;
        return pixels;
    };

    const juce::Rectangle<int> lowHalf (0, 0, 60, 40), peakHalf (60, 0, 60, 40);
    const juce::Colour on (0xFF4ECAEE), off (0xFF6B6B6B);
    EXPECT_GT (count (lowHalf, on), 0);
    EXPECT_EQ (count (peakHalf, on), 0);
    EXPECT_GT (count (peakHalf, off), 0);
}

TEST (TypePushButtonsTest, WithoutAConvolverSetClicksStillRecordTheType)
{
    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    BandSetSlot slot (processor, 1);
    ASSERT_EQ (slot.currentSet(), nullptr);

    TypePushButtons buttons (processor.getValueTreeState(), slot, 1, 2);
    auto* high = typeButton (buttons, "HP");
    ASSERT_NE (high, nullptr);

    high->triggerClick();
    settle();
    EXPECT_EQ (plainValue (processor, "button_HP_1_3"), 1.0f);
    EXPECT_EQ (typeOf (processor, 1, 3), "HP");
}
