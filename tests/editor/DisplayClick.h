#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace displayclick
{
// A press and release of one mouse button over the component, as the display delivers them
// through the window's peer.
inline void clickWith (juce::Component& target, juce::ModifierKeys::Flags mouseButton)
{
    auto* peer = target.getPeer();
    const auto position = peer->getComponent().getLocalPoint (&target, target.getLocalBounds().getCentre()).toFloat();
    const auto type = juce::MouseInputSource::InputSourceType::mouse;
    const auto pressure = juce::MouseInputSource::defaultPressure;
    const auto time = juce::Time::currentTimeMillis();
    peer->handleMouseEvent (type, position, juce::ModifierKeys(), pressure, 0.0f, time);
    peer->handleMouseEvent (type, position, juce::ModifierKeys (mouseButton), pressure, 0.0f, time + 1);
    peer->handleMouseEvent (type, position, juce::ModifierKeys(), pressure, 0.0f, time + 2);
    // The pointer leaves, so that the next click starts afresh.
    peer->handleMouseEvent (type, { -100.0f, -100.0f }, juce::ModifierKeys(), pressure, 0.0f, time + 3);
    for (int i = 0; i < 10000 && juce::dispatchNextMessageOnSystemQueue (true); ++i)
    {
    }
}

struct ClickCounter : juce::Button::Listener
{
    void buttonClicked (juce::Button*) override { ++clicks; }
    int clicks = 0;
};
} // namespace displayclick
