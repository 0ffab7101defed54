// The output section's buttons pressed through a real window: only the primary mouse button acts.
#include "DisplayClick.h"
#include "DisplayTest.h"
#include "OutputSectionRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace displayclick;

class OutputSectionDisplayTest : public DisplayTest
{
};

namespace
{
// The output section as the editor builds it, in a window.
struct OutputSectionWindow : OutputSectionRig
{
    explicit OutputSectionWindow (const juce::AudioChannelSet& mainOutput)
        : OutputSectionRig (mainOutput, { 0, 0, 180, 480 })
    {
        window.setBounds (0, 0, 180, 480);
        window.addAndMakeVisible (*section);
        window.addToDesktop (juce::ComponentPeer::windowHasTitleBar);
        window.setVisible (true);
    }

    ~OutputSectionWindow() { window.removeChildComponent (section.get()); }

    float value (const juce::String& id) { return state.getParameter (id)->getValue(); }

    juce::Component window;
};
} // namespace

using Pick = juce::Button& (*) (ControllerComponent&);

TEST_F (OutputSectionDisplayTest, OnlyThePrimaryMouseButtonPressesItsButtons)
{
    struct Case
    {
        bool mono;
        const char* button;
        Pick pick;
        const char* parameterId;     // that the button switches, or (Reset) one that it returns
        const char* switchedOnFirst; // so that the button has something to switch
    };
    const std::vector<Case> cases{
        { false, "Phase L", [] (ControllerComponent& s) -> juce::Button& { return s.getPhaseLeftButton(); }, "phase_L",
          nullptr },
        { false, "Link", [] (ControllerComponent& s) -> juce::Button& { return s.getLinkButton(); }, "link_gain",
          nullptr },
        { false, "Phase R", [] (ControllerComponent& s) -> juce::Button& { return s.getPhaseRightButton(); }, "phase_R",
          nullptr },
        { false, "Reset", [] (ControllerComponent& s) -> juce::Button& { return s.getResetButton(); }, "gain_1_1",
          nullptr },
        { false, "channel mode L",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getLeftButton(); }, "process_L",
          nullptr },
        { false, "channel mode R",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getRightButton(); }, "process_R",
          nullptr },
        { false, "channel mode M",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getMidButton(); }, "process_M",
          nullptr },
        { false, "channel mode S",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getSideButton(); }, "process_S",
          nullptr },
        { false, "channel mode All",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getAllButton(); }, "process_A",
          "process_L" },
        { false, "solo channel 1",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getSoloChannel1Button(); }, "solo_1",
          nullptr },
        { false, "solo channel 2",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getSoloChannel2Button(); }, "solo_2",
          nullptr },
        { false, "link of the channels",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getLinkButton(); }, "link_MSLR",
          nullptr },
        { true, "Solo", [] (ControllerComponent& s) -> juce::Button& { return s.getSoloButton(); }, "solo", nullptr },
        { true, "Phase", [] (ControllerComponent& s) -> juce::Button& { return s.getPhaseButton(); }, "phase",
          nullptr },
        { true, "Reset", [] (ControllerComponent& s) -> juce::Button& { return s.getResetButton(); }, "gain_1_1",
          nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.mono ? "mono " : "stereo ") + c.button);
        OutputSectionWindow shown (c.mono ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo());
        auto* target = &c.pick (*shown.section);
        ASSERT_TRUE (target->isShowing());

        shown.state.getParameter ("gain_1_1")->setValueNotifyingHost (0.9f); // away from its start
        if (c.switchedOnFirst != nullptr)
            shown.state.getParameter (c.switchedOnFirst)->setValueNotifyingHost (1.0f);
        const auto before = shown.value (c.parameterId);
        ClickCounter counter;
        target->addListener (&counter);

        // One at a time: a toggle that answered both would be switched back by the second.
        for (const auto mouseButton :
             { juce::ModifierKeys::rightButtonModifier, juce::ModifierKeys::middleButtonModifier })
        {
            clickWith (*target, mouseButton);
            EXPECT_EQ (counter.clicks, 0) << "mouse button " << mouseButton;
            EXPECT_EQ (shown.value (c.parameterId), before) << "mouse button " << mouseButton;
        }

        clickWith (*target, juce::ModifierKeys::leftButtonModifier);
        EXPECT_EQ (counter.clicks, 1);
        EXPECT_NE (shown.value (c.parameterId), before);
        target->removeListener (&counter);
    }
}

// JUCE draws a button down whenever it looks at the mouse (a change of focus, enablement or key
// state) while any mouse button is held over it; releasing a non-primary button then neither
// clicks it nor leaves it drawn down.
TEST_F (OutputSectionDisplayTest, ReleasingAnotherMouseButtonOverAButtonDrawnDownClicksNothing)
{
    for (const auto& pick : { Pick ([] (ControllerComponent& s) -> juce::Button& { return s.getPhaseLeftButton(); }),
                              Pick ([] (ControllerComponent& s) -> juce::Button& { return s.getResetButton(); }) })
        for (const auto mouseButton :
             { juce::ModifierKeys::rightButtonModifier, juce::ModifierKeys::middleButtonModifier })
        {
            OutputSectionWindow shown (juce::AudioChannelSet::stereo());
            auto& target = pick (*shown.section);
            SCOPED_TRACE (target.getName() + " by mouse button " + juce::String (mouseButton));
            ClickCounter counter;
            target.addListener (&counter);

            holdInTurn (target, { 0, mouseButton });
            target.setState (juce::Button::buttonDown);
            holdInTurn (target, { 0 });
            EXPECT_EQ (counter.clicks, 0);
            EXPECT_NE (target.getState(), juce::Button::buttonDown) << "drawn down still";

            // The primary button, drawn down the same way, clicks.
            holdInTurn (target, { juce::ModifierKeys::leftButtonModifier });
            target.setState (juce::Button::buttonDown);
            holdInTurn (target, { 0 });
            EXPECT_EQ (counter.clicks, 1);
            leave (target);
            target.removeListener (&counter);
        }
}
