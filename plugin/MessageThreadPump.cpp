#include "MessageThreadPump.h"

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's own single step of its Linux message loop; it has no header of its own.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
// Bounds one call, so that a message that keeps posting itself cannot hold the host's thread.
constexpr int maxMessagesPerCall = 256;
} // namespace

void dispatchPendingFrameworkMessages()
{
    auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();
    if (messageManager == nullptr || ! messageManager->isThisTheMessageThread())
        return;

    for (int dispatched = 0; dispatched < maxMessagesPerCall; ++dispatched)
        if (! juce::dispatchNextMessageOnSystemQueue (true))
            break;
}
