#pragma once

/** Runs JUCE's pending messages (timers, asynchronous updates) when called on its message
    thread, which is the host's main thread; elsewhere it does nothing. The host drives it
    periodically, since on Linux JUCE shares no message loop with the host. */
void dispatchPendingFrameworkMessages();
