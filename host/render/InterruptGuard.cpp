#include "InterruptGuard.h"

#include <csignal>
#include <cstddef>
#include <cstdlib>

namespace
{
// Every signal whose default action ends the process and that can be caught, except the faults
// (a handler cannot continue past them) and the profiling timers that tools rely on.
constexpr int guardedSignals[] = { SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGXCPU };
constexpr size_t guardedCount = sizeof (guardedSignals) / sizeof (guardedSignals[0]);

volatile std::sig_atomic_t caught = 0;
struct sigaction previousActions[guardedCount];

extern "C" void noteSignal (int signal)
{
    caught = signal;
}
} // namespace

InterruptGuard::InterruptGuard()
{
    caught = 0;
    struct sigaction action
    {
    };
    action.sa_handler = noteSignal;
    sigemptyset (&action.sa_mask);
    for (size_t index = 0; index < guardedCount; ++index)
        sigaction (guardedSignals[index], &action, &previousActions[index]);
}

InterruptGuard::~InterruptGuard()
{
    for (size_t index = 0; index < guardedCount; ++index)
        sigaction (guardedSignals[index], &previousActions[index], nullptr);
}

int InterruptGuard::caughtSignal() noexcept
{
    return caught;
}

void InterruptGuard::endByCaughtSignal()
{
    const int signal = caught != 0 ? static_cast<int> (caught) : SIGTERM;
    std::signal (signal, SIG_DFL);
    std::raise (signal);
    std::_Exit (128 + signal);
}
