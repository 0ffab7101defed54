#include "ExclusiveFileLock.h"

#include "AtomicFileWrite.h"

#include <cerrno>
#include <map>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{
// One mutex per lock file for the life of the process; there are only ever a few.
std::timed_mutex* mutexFor (const std::string& lockPath)
{
    static std::mutex registryMutex;
    static std::map<std::string, std::unique_ptr<std::timed_mutex>> registry;

    const std::lock_guard<std::mutex> guard (registryMutex);
    auto& entry = registry[lockPath];
    if (entry == nullptr)
        entry = std::make_unique<std::timed_mutex>();
    return entry.get();
}

std::string describeWait (std::chrono::milliseconds wait)
{
    if (wait.count() >= 1000 && wait.count() % 1000 == 0)
        return std::to_string (wait.count() / 1000) + " s";
    return std::to_string (wait.count()) + " ms";
}
} // namespace

ExclusiveFileLock::ExclusiveFileLock (const std::string& lockPath, std::chrono::milliseconds maximumWait)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + maximumWait;
    const std::string busy = "another instance held " + lockPath + " for more than " + describeWait (maximumWait);

    auto* candidate = mutexFor (lockPath);
    if (! candidate->try_lock_until (deadline))
    {
        reason = busy;
        return;
    }
    pathMutex = candidate;

    // Never through a link: the lock file is ours alone.
    descriptor = ::open (lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (descriptor < 0)
    {
        reason = describeErrno (errno);
        return;
    }

    // flock has no timed wait: poll, at first often, then every 20 ms.
    auto pause = std::chrono::milliseconds (1);
    for (;;)
    {
        if (::flock (descriptor, LOCK_EX | LOCK_NB) == 0)
        {
            held = true;
            return;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
        {
            reason = describeErrno (errno);
            return;
        }
        if (Clock::now() >= deadline)
        {
            reason = busy;
            return;
        }
        std::this_thread::sleep_for (pause);
        pause = std::min (pause * 2, std::chrono::milliseconds (20));
    }
}

ExclusiveFileLock::~ExclusiveFileLock()
{
    // Closing the descriptor releases the flock.
    if (descriptor >= 0)
        ::close (descriptor);
    if (pathMutex != nullptr)
        pathMutex->unlock();
}
