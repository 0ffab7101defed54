// The output section's buttons pressed through a real window: only the primary mouse button acts.
#include "DisplayClick.h"
#include "OutputSectionRig.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace displayclick;

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

TEST (OutputSectionDisplayTest, OnlyThePrimaryMouseButtonPressesItsButtons)
{
    using Pick = juce::Button& (*) (ControllerComponent&);
    struct Case
    {
        bool mono;
        const char* button;
        Pick pick;
        const char* parameterId; // that the button switches, or (Reset) one that it returns
    };
    const std::vector<Case> cases{
        { false, "Phase L", [] (ControllerComponent& s) -> juce::Button& { return s.getPhaseLeftButton(); },
          "phase_L" },
        { false, "Link", [] (ControllerComponent& s) -> juce::Button& { return s.getLinkButton(); }, "link_gain" },
        { false, "Phase R", [] (ControllerComponent& s) -> juce::Button& { return s.getPhaseRightButton(); },
          "phase_R" },
        { false, "Reset", [] (ControllerComponent& s) -> juce::Button& { return s.getResetButton(); }, "gain_1_1" },
        { false, "channel mode L",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getLeftButton(); }, "process_L" },
        { false, "solo channel 1",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getSoloChannel1Button(); }, "solo_1" },
        { false, "link of the channels",
          [] (ControllerComponent& s) -> juce::Button& { return s.getSelector().getLinkButton(); }, "link_MSLR" },
        { true, "Solo", [] (ControllerComponent& s) -> juce::Button& { return s.getSoloButton(); }, "solo" },
        { true, "Phase", [] (ControllerComponent& s) -> juce::Button& { return s.getPhaseButton(); }, "phase" },
        { true, "Reset", [] (ControllerComponent& s) -> juce::Button& { return s.getResetButton(); }, "gain_1_1" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.mono ? "mono " : "stereo ") + c.button);
        OutputSectionWindow shown (c.mono ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo());
        auto* target = &c.pick (*shown.section);
        ASSERT_TRUE (target->isShowing());

        shown.state.getParameter ("gain_1_1")->setValueNotifyingHost (0.9f); // away from its start
        const auto before = shown.value (c.parameterId);
        ClickCounter counter;
        target->addListener (&counter);

        for (const auto mouseButton :
             { juce::ModifierKeys::rightButtonModifier, juce::ModifierKeys::middleButtonModifier })
            clickWith (*target, mouseButton);
        EXPECT_EQ (counter.clicks, 0);
        EXPECT_EQ (shown.value (c.parameterId), before);

        clickWith (*target, juce::ModifierKeys::leftButtonModifier);
        EXPECT_EQ (counter.clicks, 1);
        EXPECT_NE (shown.value (c.parameterId), before);
        EXPECT_FALSE (target->hasKeyboardFocus (false));
        target->removeListener (&counter);
    }
}
