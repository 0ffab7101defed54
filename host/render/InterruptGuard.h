#pragma once

/** While one exists, the signals that would end the process at once (SIGINT, SIGTERM, SIGHUP,
    SIGPIPE, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU) are noted instead, so that long work can
    stop at a safe point, clean up, and then end the process by the same signal. */
class InterruptGuard
{
public:
    InterruptGuard();
    /** Restores the handlers from before. */
    ~InterruptGuard();

    InterruptGuard (const InterruptGuard&) = delete;
    InterruptGuard& operator= (const InterruptGuard&) = delete;

    /** The signal caught since construction, or 0. */
    static int caughtSignal() noexcept;

    /** Ends the process by the caught signal with its default action, so that the caller sees
        the usual status of an interrupted program. */
    [[noreturn]] void endByCaughtSignal();
};
