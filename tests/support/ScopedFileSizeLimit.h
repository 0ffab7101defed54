#pragma once

#include <csignal>
#include <sys/resource.h>

// While one exists, no file of the process may grow past `bytes`: a write beyond it fails with
// EFBIG (the signal the limit would raise is ignored), as on a disk that is nearly full. Runs as
// root in CI, where permission bits cannot make writes fail.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit (rlim_t bytes)
    {
        getrlimit (RLIMIT_FSIZE, &previous);
        previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit (RLIMIT_FSIZE, &limited);
    }

    ~ScopedFileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &previous);
        std::signal (SIGXFSZ, previousHandler);
    }

    ScopedFileSizeLimit (const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator= (const ScopedFileSizeLimit&) = delete;

private:
    rlimit previous{};
    void (*previousHandler) (int) = nullptr;
};
