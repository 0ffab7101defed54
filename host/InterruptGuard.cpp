#include "InterruptGuard.h"

#include <csignal>
#include <cstdlib>

namespace
{
volatile std::sig_atomic_t caught = 0;
struct sigaction previousInterrupt
{
};
struct sigaction previousTerminate
{
};

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
    sigaction (SIGINT, &action, &previousInterrupt);
    sigaction (SIGTERM, &action, &previousTerminate);
}

InterruptGuard::~InterruptGuard()
{
    sigaction (SIGINT, &previousInterrupt, nullptr);
    sigaction (SIGTERM, &previousTerminate, nullptr);
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
