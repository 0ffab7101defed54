#include "FilterGroupComponent.h"
#include "PanelTestSupport.h"
#include "ParameterLayout.h"
#include "ProcessorParameterAccess.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// The editor's two groups over one processor, built with its current main output.
struct ChannelGroups
{
    explicit ChannelGroups (PanelProcessor& p)
        : output (p.mainOutput())
        , group1 (p.state(), output, p.slot1)
        , group2 (p.state(), output, p.slot2)
    {
    }

    FilterGroupComponent& group (int channel) { return channel == 1 ? group1 : group2; }

    juce::AudioChannelSet output;
    FilterGroupComponent group1, group2;
};

// Every slider and button inside a component, however deep.
void collectControls (juce::Component& component, std::vector<juce::Slider*>& sliders,
                      std::vector<juce::Button*>& buttons)
{
    for (auto* child : component.getChildren())
    {
        if (auto* slider = dynamic_cast<juce::Slider*> (child))
            sliders.push_back (slider);
        if (auto* button = dynamic_cast<juce::Button*> (child))
            buttons.push_back (button);
        collectControls (*child, sliders, buttons);
    }
}

class ChannelGroupTest : public ::testing::Test
{
protected:
    PanelProcessor p;
};
} // namespace

TEST_F (ChannelGroupTest, PanelsAndTheirControlsSettleOnTheirRectangles)
{
    ChannelGroups groups (p);
    const juce::Rectangle<int> panels[] = { { 20, 20, 150, 460 }, { 180, 20, 150, 460 }, { 340, 20, 150, 460 } };
    const char* titles[] = { "LF", "MF", "HF" };

    for (int channel = 1; channel <= 2; ++channel)
    {
        auto& group = groups.group (channel);
        EXPECT_EQ (group.getChannel(), channel);
        EXPECT_EQ (group.getBounds(), juce::Rectangle<int> (0, 0, 330, 560));
        group.setBounds (95, 45, 510, 450);

        // The first layout is already the settled one.
        for (const char* pass : { "first layout", "settled" })
        {
            if (juce::String (pass) == "settled")
                settleLayout (group);

            for (int index = 0; index < 3; ++index)
            {
                SCOPED_TRACE (std::string (pass) + ", channel " + std::to_string (channel) + ", band index " +
                              std::to_string (index));
                auto& panel = group.getBandPanel (index);
                EXPECT_EQ (panel.getBounds(), panels[index]);
                EXPECT_EQ (panel.getText(), titles[index]);
                EXPECT_EQ (panel.findColour (juce::GroupComponent::outlineColourId), juce::Colours::transparentBlack);

                const std::pair<juce::Component*, juce::Rectangle<int>> stack[] = {
                    { &panel.getFrequencyKnob(), { 0, 35, 150, 120 } },
                    { &panel.getTypeButtons(), { 15, 140, 120, 30 } },
                    { &panel.getGainKnob(), { 0, 185, 150, 120 } },
                    { &panel.getTrimKnob(), { 0, 305, 150, 120 } },
                };
                for (const auto& [control, bounds] : stack)
                {
                    EXPECT_EQ (control->getBounds(), bounds);
                    EXPECT_TRUE (control->isVisible());
                }
            }
        }
    }
}

TEST_F (ChannelGroupTest, KnobDetentsAreTheBandsStepsInTheBank)
{
    ChannelGroups groups (p);
    const std::vector<float> gains{ -12, -9, -6, -4, -2, 0, 2, 4, 6, 9, 12 };
    const std::vector<float> frequencies[] = {
        { 50, 100, 200, 300, 400 },
        { 400, 800, 1500, 3000, 5000 },
        { 5000, 7000, 10000, 12500, 15000 },
    };

    // A stepped knob divides its travel into one equal bin per detent, each detent in the middle of its bin.
    const auto expectDetents = [] (juce::Slider& slider, const std::vector<float>& steps)
    {
        const auto n = (double) steps.size();
        for (size_t i = 0; i < steps.size(); ++i)
        {
            EXPECT_EQ (slider.proportionOfLengthToValue (((double) i + 0.5) / n), steps[i]);
            EXPECT_NEAR (slider.valueToProportionOfLength (steps[i]), ((double) i + 0.5) / n, 1.0e-6);
        }
    };

    for (int channel = 1; channel <= 2; ++channel)
        for (int index = 0; index < 3; ++index)
        {
            SCOPED_TRACE ("channel " + std::to_string (channel) + ", band index " + std::to_string (index));
            auto& panel = groups.group (channel).getBandPanel (index);
            expectDetents (panel.getFrequencyKnob().slider, frequencies[index]);
            expectDetents (panel.getGainKnob().slider, gains);
        }
}

TEST_F (ChannelGroupTest, MovingAKnobSelectsFromTheSliderAndTheParameterStore)
{
    struct Move
    {
        int channel, band;
        bool frequencyKnob;
        double value;
        float frequency, gain; // parameter values set beforehand
        int typeIndex;         // 0 = "PK", 1 = "LP" or "HP"
        double expectedFrequency;
        const char* expectedType;
        double expectedGain;
    };
    const Move moves[] = {
        { 1, 2, true, 3000.0, 1500.0f, 4.0f, 0, 3000.0, "PK", 4.0 },
        { 2, 3, false, -6.0, 12500.0f, 2.0f, 1, 12500.0, "HP", -6.0 },
        { 1, 1, true, 200.0, 50.0f, -2.0f, 1, 200.0, "LP", -2.0 },
        { 2, 2, false, 9.0, 800.0f, 0.0f, 0, 800.0, "PK", 9.0 },
    };

    ChannelGroups groups (p);
    for (const auto& move : moves)
    {
        SCOPED_TRACE ("channel " + std::to_string (move.channel) + ", band " + std::to_string (move.band));
        const auto id = [&] (const char* prefix) { return ParameterIds::band (prefix, move.channel, move.band); };
        setPlainValue (p.processor, id ("frequency"), move.frequency);
        setPlainValue (p.processor, id ("gain"), move.gain);
        setPlainValue (p.processor, id ("type"), (float) move.typeIndex);

        auto& panel = groups.group (move.channel).getBandPanel (move.band - 1);
        auto& knob = move.frequencyKnob ? panel.getFrequencyKnob() : panel.getGainKnob();
        knob.slider.setValue (move.value, juce::sendNotificationSync);

        const auto band = (move.channel == 1 ? p.slot1 : p.slot2).band (move.band - 1);
        ASSERT_TRUE (band);
        EXPECT_TRUE (band->isCurrentSelection (move.expectedFrequency, move.expectedType, move.expectedGain));
    }
}

TEST_F (ChannelGroupTest, AfterAPreparationKnobsReachTheNewSets)
{
    ChannelGroups groups (p);
    const auto before = std::make_pair (p.slot1.currentSet(), p.slot2.currentSet());
    p.prepare();
    ASSERT_NE (p.slot1.currentSet(), before.first);
    ASSERT_NE (p.slot2.currentSet(), before.second);

    groups.group1.getBandPanel (1).getFrequencyKnob().slider.setValue (5000.0, juce::sendNotificationSync);
    groups.group2.getBandPanel (0).getGainKnob().slider.setValue (6.0, juce::sendNotificationSync);

    EXPECT_TRUE (p.slot1.band (1)->isCurrentSelection (5000.0, "PK", 0.0));
    EXPECT_TRUE (p.slot2.band (0)->isCurrentSelection (50.0, "PK", 6.0));
}

TEST_F (ChannelGroupTest, TheTrimKnobSelectsNothing)
{
    ChannelGroups groups (p);
    auto band = p.slot1.band (0);
    band->selectImpulse (100.0, "PK", -12.0); // differs from every parameter of the band

    groups.group1.getBandPanel (0).getTrimKnob().setValue (3.0, juce::sendNotificationSync);

    EXPECT_FLOAT_EQ (plainValue (p.processor, "out_1_1"), 3.0f);
    EXPECT_TRUE (band->isCurrentSelection (100.0, "PK", -12.0));
}

TEST_F (ChannelGroupTest, ResetReturnsEveryBandToItsDefaultsAndKeepsTheFrame)
{
    ChannelGroups groups (p);
    groups.group1.setVisible (true);
    groups.group1.setText ("Left Only");
    for (int band = 1; band <= 3; ++band)
    {
        setPlainValue (p.processor, ParameterIds::band ("frequency", 1, band), band == 3 ? 15000.0f : 400.0f);
        setPlainValue (p.processor, ParameterIds::band ("gain", 1, band), 6.0f);
        setPlainValue (p.processor, ParameterIds::band ("out", 1, band), 3.0f);
    }
    setPlainValue (p.processor, "button_HP_1_3", 1.0f);
    setPlainValue (p.processor, "button_LP_1_1", 1.0f);
    dispatchMessages();
    ASSERT_EQ (p.processor.getTypeParameter (1, 3)->getCurrentChoiceName(), "HP");

    groups.group1.resetBands();
    dispatchMessages();

    const float frequencies[] = { 50.0f, 1500.0f, 10000.0f };
    for (int band = 1; band <= 3; ++band)
    {
        SCOPED_TRACE ("band " + std::to_string (band));
        EXPECT_FLOAT_EQ (plainValue (p.processor, ParameterIds::band ("frequency", 1, band)), frequencies[band - 1]);
        EXPECT_FLOAT_EQ (plainValue (p.processor, ParameterIds::band ("gain", 1, band)), 0.0f);
        EXPECT_FLOAT_EQ (plainValue (p.processor, ParameterIds::band ("out", 1, band)), 0.0f);
        EXPECT_EQ (p.processor.getTypeParameter (1, band)->getCurrentChoiceName(), "PK");
        EXPECT_FLOAT_EQ (plainValue (p.processor, ParameterIds::band ("button_PK", 1, band)), 1.0f);
        EXPECT_TRUE (p.slot1.band (band - 1)->isCurrentSelection (frequencies[band - 1], "PK", 0.0));
    }
    EXPECT_FLOAT_EQ (plainValue (p.processor, "button_HP_1_3"), 0.0f);
    EXPECT_FLOAT_EQ (plainValue (p.processor, "button_LP_1_1"), 0.0f);

    EXPECT_EQ (groups.group1.getText(), "Left Only");
    EXPECT_TRUE (groups.group1.isVisible());
    EXPECT_EQ (groups.group1.findColour (juce::GroupComponent::outlineColourId).getARGB(), 0xFFA9B0B7u);
}

TEST_F (ChannelGroupTest, TitleAndVisibilityFollowTheFirstModeSwitchOn)
{
    struct Row
    {
        bool left, right, mid, sides, all, link;
        const char* title;
        int shownChannel; // 0: neither group touched
    };
    const Row rows[] = {
        { 1, 0, 0, 0, 0, 1, "Left Linked", 1 },
        { 1, 0, 0, 0, 0, 0, "Left Only", 1 },
        { 0, 1, 0, 0, 0, 1, "Right Linked", 2 },
        { 0, 1, 0, 0, 0, 0, "Right Only", 2 },
        { 0, 0, 1, 0, 0, 1, "Mid Linked", 1 },
        { 0, 0, 1, 0, 0, 0, "Mid Only", 1 },
        { 0, 0, 0, 1, 0, 1, "Sides Linked", 2 },
        { 0, 0, 0, 1, 0, 0, "Sides Only", 2 },
        { 0, 0, 0, 0, 1, 1, "All", 1 },
        { 0, 0, 0, 0, 1, 0, "All", 1 },
        { 0, 1, 0, 1, 1, 0, "Right Only", 2 },
        { 1, 1, 1, 1, 1, 1, "Left Linked", 1 },
        { 0, 0, 0, 0, 0, 1, "", 0 },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (std::string ("expected title \"") + row.title + "\"");
        const std::pair<const char*, bool> switches[] = {
            { "process_L", row.left },  { "process_R", row.right }, { "process_M", row.mid },
            { "process_S", row.sides }, { "process_A", row.all },   { "link_MSLR", row.link },
        };
        for (const auto& [id, on] : switches)
            setPlainValue (p.processor, id, on ? 1.0f : 0.0f);

        ChannelGroups groups (p);
        EXPECT_EQ (groups.group1.getText(), row.title);
        EXPECT_EQ (groups.group2.getText(), row.title);
        EXPECT_EQ (groups.group1.isVisible(), row.shownChannel == 1);
        EXPECT_EQ (groups.group2.isVisible(), row.shownChannel == 2);

        for (int channel = 1; channel <= 2; ++channel)
        {
            const auto colour = channel == 1 ? 0xFFA9B0B7u : 0xFFFFA500u;
            auto& group = groups.group (channel);
            EXPECT_EQ (group.findColour (juce::GroupComponent::outlineColourId).getARGB(), colour);
            EXPECT_EQ (group.findColour (juce::GroupComponent::textColourId).getARGB(), colour);
        }
    }
}

TEST (ChannelGroupMonoTest, BothGroupsAreTitledMonoAndChannelOneIsShown)
{
    PanelProcessor p (true, true);
    ASSERT_EQ (p.mainOutput(), juce::AudioChannelSet::mono());

    for (const char* mode : { "process_R", "process_S", "process_A" })
    {
        SCOPED_TRACE (mode);
        for (const char* id : { "process_L", "process_R", "process_M", "process_S", "process_A" })
            setPlainValue (p.processor, id, juce::String (id) == mode ? 1.0f : 0.0f);

        ChannelGroups groups (p);
        EXPECT_EQ (groups.group1.getText(), "Mono");
        EXPECT_EQ (groups.group2.getText(), "Mono");
        EXPECT_TRUE (groups.group1.isVisible());
        EXPECT_FALSE (groups.group2.isVisible());
        EXPECT_EQ (groups.group2.findColour (juce::GroupComponent::outlineColourId).getARGB(), 0xFFFFA500u);
    }
}

TEST (ChannelGroupUnpreparedTest, EveryControlWorksWithoutASetAndFindsTheSetOncePrepared)
{
    PanelProcessor p (false);
    ASSERT_EQ (p.slot1.currentSet(), nullptr);
    ChannelGroups groups (p);

    for (int channel = 1; channel <= 2; ++channel)
    {
        auto& group = groups.group (channel);
        EXPECT_EQ (group.getChannel(), channel);
        group.setBounds (95, 45, 510, 450);
        settleLayout (group);

        for (int index = 0; index < 3; ++index)
        {
            // Without a set the band counts as empty: only the trim, which needs no bank, is shown.
            auto& panel = group.getBandPanel (index);
            EXPECT_FALSE (panel.getFrequencyKnob().isVisible());
            EXPECT_FALSE (panel.getTypeButtons().isVisible());
            EXPECT_FALSE (panel.getGainKnob().isVisible());
            EXPECT_TRUE (panel.getTrimKnob().isVisible());
            EXPECT_EQ (panel.getTrimKnob().getBounds(), juce::Rectangle<int> (0, 170, 150, 120));
        }

        std::vector<juce::Slider*> sliders;
        std::vector<juce::Button*> buttons;
        collectControls (group, sliders, buttons);
        EXPECT_EQ (sliders.size(), 9u);
        for (auto* slider : sliders)
        {
            slider->setValue (slider->getMaximum(), juce::sendNotificationSync);
            slider->setValue (slider->getMinimum(), juce::sendNotificationAsync);
        }
        for (auto* button : buttons)
            button->triggerClick();
        group.resetBands();
        dispatchMessages();
        (void) group.createComponentSnapshot (group.getLocalBounds());
    }

    // Later calls look through the slot again.
    p.prepare();
    setPlainValue (p.processor, "gain_1_2", 4.0f);
    groups.group1.getBandPanel (1).getFrequencyKnob().slider.setValue (3000.0, juce::sendNotificationSync);
    EXPECT_TRUE (p.slot1.band (1)->isCurrentSelection (3000.0, "PK", 4.0));
    settleLayout (groups.group1);
    EXPECT_EQ (groups.group1.getBandPanel (1).getText(), "MF");
}
