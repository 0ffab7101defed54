#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

namespace juce
{
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace displayclick
{
inline void dispatchMessages()
{
    for (int i = 0; i < 10000 && juce::dispatchNextMessageOnSystemQueue (true); ++i)
    {
    }
}

// The mouse over the component's centre with these buttons held, one state after another (0 for
// none), as the display delivers them through the window's peer; the pointer stays there.
inline void holdInTurn (juce::Component& target, std::initializer_list<int> heldButtons)
{
    auto* peer = target.getPeer();
    const auto position = peer->getComponent().getLocalPoint (&target, target.getLocalBounds().getCentre()).toFloat();
    auto time = juce::Time::currentTimeMillis();
    for (const auto held : heldButtons)
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, juce::ModifierKeys (held),
                                juce::MouseInputSource::defaultPressure, 0.0f, ++time);
    dispatchMessages();
}

// The pointer leaves the window, so that the next click starts afresh.
inline void leave (juce::Component& target)
{
    target.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, { -100.0f, -100.0f },
                                        juce::ModifierKeys(), juce::MouseInputSource::defaultPressure, 0.0f,
                                        juce::Time::currentTimeMillis());
    dispatchMessages();
}

// A press and release of one mouse button over the component.
inline void clickWith (juce::Component& target, juce::ModifierKeys::Flags mouseButton)
{
    holdInTurn (target, { 0, mouseButton, 0 });
    leave (target);
}

struct ClickCounter : juce::Button::Listener
{
    void buttonClicked (juce::Button*) override { ++clicks; }
    int clicks = 0;
};
} // namespace displayclick
