#include "OutputSectionRig.h"
#include "ProcessorParameterAccess.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{
void dispatchPendingMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (30);
}

// Laid out twice (its own size, then the editor's rectangle), so that every child has settled.
struct OutputSectionFixture : OutputSectionRig
{
    explicit OutputSectionFixture (const juce::AudioChannelSet& mainOutput)
        : OutputSectionRig (mainOutput, { 610, 40, 180, 480 })
    {
    }
};

struct Placement
{
    const char* what;
    juce::Component* component;
    juce::Rectangle<int> bounds;
};

void expectPlacements (std::initializer_list<Placement> placements, ControllerComponent& section)
{
    for (const auto& p : placements)
    {
        SCOPED_TRACE (p.what);
        EXPECT_EQ (p.component->getParentComponent(), &section);
        EXPECT_TRUE (p.component->isVisible());
        EXPECT_EQ (p.component->getBounds(), p.bounds);
    }
}

void expectNotChildren (std::initializer_list<juce::Component*> components, ControllerComponent& section)
{
    for (auto* component : components)
    {
        SCOPED_TRACE (component->getName());
        EXPECT_NE (component->getParentComponent(), &section);
    }
}

void expectCommonPlacements (ControllerComponent& section)
{
    auto& label = section.getProductLabel();
    EXPECT_EQ (label.getText(), "Larkspur");
    const auto textWidth = (int) std::ceil (label.getFont().getStringWidthFloat ("Larkspur"));
    EXPECT_EQ (label.getBounds(), juce::Rectangle<int> (180 - textWidth, 453, textWidth, 14));
    EXPECT_EQ (label.getRight(), section.getWidth());

    EXPECT_EQ (section.getLogo().getBounds(), juce::Rectangle<int> (0, 338, 180, 142));
    EXPECT_EQ (section.getChildren().getLast(), &section.getResetButton()); // in front of the logo
}

struct LinkCase
{
    const char* what;
    bool linked;
    double left, right;
    bool moveLeft;
    double moveTo;
    double expectedLeft, expectedRight;
};

double gainOf (OutputSectionFixture& f, const char* id)
{
    return (double) plainValue (f.processor, id);
}
} // namespace

TEST (OutputSectionLayoutTest, StereoFormSettlesOnItsRectangles)
{
    OutputSectionFixture f (juce::AudioChannelSet::stereo());
    auto& s = *f.section;
    ASSERT_FALSE (s.isMono());

    expectPlacements ({ { "selector", &s.getSelector(), { 15, 0, 150, 112 } },
                        { "left fader", &s.getLeftFader(), { 13, 142, 65, 160 } },
                        { "Phase L", &s.getPhaseLeftButton(), { 20, 302, 50, 28 } },
                        { "right fader", &s.getRightFader(), { 103, 142, 65, 160 } },
                        { "Phase R", &s.getPhaseRightButton(), { 110, 302, 50, 28 } },
                        { "Reset", &s.getResetButton(), { 73, 330, 35, 35 } } },
                      s);
    const auto& link = s.getLinkButton();
    EXPECT_EQ (link.getX(), 65);
    EXPECT_EQ (link.getWidth(), 50);
    EXPECT_EQ (link.getHeight(), 28);
    EXPECT_EQ (link.getY(), 112 + (160 + s.getLeftCaption().getHeight()) / 2);

    EXPECT_EQ (s.getLeftCaption().getText(), "Out L");
    EXPECT_EQ (s.getRightCaption().getText(), "Out R");
    EXPECT_EQ (s.getLeftCaption().getBottom(), 142);
    EXPECT_EQ (s.getRightCaption().getX(), 103);
    expectCommonPlacements (s);
    expectNotChildren ({ &s.getSoloButton(), &s.getPhaseButton(), &s.getGainFader() }, s);
}

TEST (OutputSectionLayoutTest, MonoFormSettlesOnItsRectangles)
{
    OutputSectionFixture f (juce::AudioChannelSet::mono());
    auto& s = *f.section;
    ASSERT_TRUE (s.isMono());

    expectPlacements ({ { "Solo", &s.getSoloButton(), { 65, 53, 50, 28 } },
                        { "gain fader", &s.getGainFader(), { 40, 81, 100, 200 } },
                        { "Phase", &s.getPhaseButton(), { 65, 281, 50, 28 } },
                        { "Reset", &s.getResetButton(), { 72, 319, 35, 35 } } },
                      s);
    EXPECT_EQ (s.getLeftCaption().getText(), "Output");
    EXPECT_EQ (s.getLeftCaption().getBottom(), 53);
    expectCommonPlacements (s);
    expectNotChildren ({ &s.getSelector(), &s.getLeftFader(), &s.getRightFader(), &s.getLinkButton(),
                         &s.getPhaseLeftButton(), &s.getPhaseRightButton() },
                       s);
}

TEST (OutputSectionLayoutTest, EachFormBindsOnlyItsOwnParameters)
{
    {
        OutputSectionFixture f (juce::AudioChannelSet::mono());
        setPlainValue (f.processor, "gain", -7.0f);
        setPlainValue (f.processor, "gain_L", -3.0f);
        EXPECT_NEAR (f.section->getGainFader().getValue(), -7.0, 1.0e-4);
        EXPECT_NE (f.section->getLeftFader().getValue(), -3.0);
    }
    {
        OutputSectionFixture f (juce::AudioChannelSet::stereo());
        setPlainValue (f.processor, "phase_R", 1.0f);
        setPlainValue (f.processor, "phase", 1.0f);
        EXPECT_TRUE (f.section->getPhaseRightButton().getToggleState());
        EXPECT_FALSE (f.section->getPhaseButton().getToggleState());
    }
}

TEST (OutputSectionGainLinkTest, PartnerFollowsByTheSameDistanceAndStaysInRange)
{
    const LinkCase cases[] = {
        { "left up, right follows", true, 0.0, -2.0, true, 3.0, 3.0, 1.0 },
        { "right down, left follows", true, 0.0, -2.0, false, -5.0, -3.0, -5.0 },
        { "partner stops at the top, mover pulled back", true, 10.0, 11.0, true, 12.0, 11.0, 12.0 },
        { "partner stops at the bottom", true, -90.0, -94.0, true, -93.0, -92.0, -96.0 },
        { "unlinked faders move alone", false, 0.0, -2.0, true, 3.0, 3.0, -2.0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        OutputSectionFixture f (juce::AudioChannelSet::stereo());
        auto& s = *f.section;

        // Set the starting point with Link off, then switch it as the case says, which takes the
        // faders' values as the link's reference.
        s.getLinkButton().setToggleState (false, juce::sendNotification);
        s.getLeftFader().setValue (c.left, juce::sendNotificationSync);
        s.getRightFader().setValue (c.right, juce::sendNotificationSync);
        s.getLinkButton().setToggleState (c.linked, juce::sendNotification);
        EXPECT_EQ (gainOf (f, "link_gain"), c.linked ? 1.0 : 0.0);

        (c.moveLeft ? s.getLeftFader() : s.getRightFader()).setValue (c.moveTo, juce::sendNotificationSync);
        dispatchPendingMessages();

        EXPECT_NEAR (s.getLeftFader().getValue(), c.expectedLeft, 1.0e-4);
        EXPECT_NEAR (s.getRightFader().getValue(), c.expectedRight, 1.0e-4);
        EXPECT_NEAR (gainOf (f, "gain_L"), c.expectedLeft, 1.0e-4);
        EXPECT_NEAR (gainOf (f, "gain_R"), c.expectedRight, 1.0e-4);
    }
}

TEST (OutputSectionGainLinkTest, FollowsHostAutomationAndSurvivesANotANumber)
{
    OutputSectionFixture f (juce::AudioChannelSet::stereo());
    auto& s = *f.section;
    ASSERT_TRUE (s.getLinkButton().getToggleState());

    setPlainValue (f.processor, "gain_L", -4.0f); // as the host would
    dispatchPendingMessages();
    EXPECT_NEAR (s.getRightFader().getValue(), -4.0, 1.0e-4);

    // A NaN leaves the partner where it is and the link alive: the next move is followed. A
    // slider cannot keep a NaN for long, so the handler is called while the fader holds one.
    s.getLeftFader().setValue (std::numeric_limits<double>::quiet_NaN(), juce::dontSendNotification);
    ASSERT_TRUE (std::isnan (s.getLeftFader().getValue()));
    s.sliderValueChanged (&s.getLeftFader());
    EXPECT_EQ (s.getRightFader().getValue(), -4.0);

    s.getLeftFader().setValue (-1.0, juce::sendNotificationSync);
    dispatchPendingMessages();
    EXPECT_NEAR (s.getRightFader().getValue(), -1.0, 1.0e-4);
    EXPECT_NEAR (gainOf (f, "gain_R"), -1.0, 1.0e-4);
}

TEST (OutputSectionResetTest, StereoResetReturnsEverythingToTheStartingState)
{
    OutputSectionFixture f (juce::AudioChannelSet::stereo());
    auto& s = *f.section;

    const std::pair<const char*, float> changes[] = {
        { "link_gain", 0.0f },     { "phase_L", 1.0f },           { "phase_R", 1.0f },
        { "input_level", -20.0f }, { "process_S", 1.0f },         { "solo_1", 0.0f },
        { "solo_2", 0.0f },        { "link_MSLR", 0.0f },         { "gain_L", 5.0f },
        { "gain_R", -9.0f },       { "frequency_1_1", 300.0f },   { "gain_1_2", 6.0f },
        { "out_1_3", -3.0f },      { "frequency_2_3", 15000.0f }, { "gain_2_1", -9.0f },
        { "out_2_2", 4.0f },
    };
    for (const auto& [id, value] : changes)
        setPlainValue (f.processor, id, value);
    dispatchPendingMessages();
    ASSERT_TRUE (f.group2->isVisible());

    s.getResetButton().triggerClick();
    dispatchPendingMessages();

    const std::pair<const char*, float> expected[] = {
        { "link_gain", 1.0f }, { "phase_L", 0.0f },   { "phase_R", 0.0f },   { "input_level", 0.0f },
        { "process_A", 1.0f }, { "process_L", 0.0f }, { "process_R", 0.0f }, { "process_M", 0.0f },
        { "process_S", 0.0f }, { "solo_1", 1.0f },    { "solo_2", 1.0f },    { "link_MSLR", 1.0f },
        { "gain_L", 0.0f },    { "gain_R", 0.0f },
    };
    for (const auto& [id, value] : expected)
    {
        SCOPED_TRACE (id);
        EXPECT_NEAR (plainValue (f.processor, id), value, 1.0e-4f);
    }

    const float defaultFrequencies[] = { 50.0f, 1500.0f, 10000.0f };
    for (int channel = 1; channel <= 2; ++channel)
        for (int band = 1; band <= 3; ++band)
        {
            const auto suffix = "_" + juce::String (channel) + "_" + juce::String (band);
            SCOPED_TRACE (suffix);
            EXPECT_NEAR (plainValue (f.processor, "frequency" + suffix), defaultFrequencies[band - 1], 1.0e-2f);
            EXPECT_NEAR (plainValue (f.processor, "gain" + suffix), 0.0f, 1.0e-4f);
            EXPECT_NEAR (plainValue (f.processor, "out" + suffix), 0.0f, 1.0e-4f);
            EXPECT_EQ (plainValue (f.processor, "type" + suffix), 0.0f);
        }

    EXPECT_TRUE (f.group1->isVisible());
    EXPECT_FALSE (f.group2->isVisible());
    EXPECT_EQ (f.group1->getText(), "All");
}

TEST (OutputSectionResetTest, MonoResetSetsSoloPhaseAndGain)
{
    OutputSectionFixture f (juce::AudioChannelSet::mono());
    setPlainValue (f.processor, "solo", 0.0f);
    setPlainValue (f.processor, "phase", 1.0f);
    setPlainValue (f.processor, "gain", -12.0f);
    setPlainValue (f.processor, "input_level", 6.0f);

    f.section->getResetButton().triggerClick();
    dispatchPendingMessages();

    const std::pair<const char*, float> expected[] = {
        { "solo", 1.0f },      { "phase", 0.0f },     { "gain", 0.0f },   { "input_level", 0.0f },
        { "process_A", 1.0f }, { "link_MSLR", 1.0f }, { "solo_1", 1.0f }, { "solo_2", 1.0f },
    };
    for (const auto& [id, value] : expected)
    {
        SCOPED_TRACE (id);
        EXPECT_NEAR (plainValue (f.processor, id), value, 1.0e-4f);
    }
    EXPECT_TRUE (f.group1->isVisible());
    EXPECT_FALSE (f.group2->isVisible());
}
