#include "ExclusiveFileLock.h"

#include "AtomicFileWrite.h"

#include <algorithm>
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
std::mutex* mutexFor (const std::string& lockPath)
{
    static std::mutex registryMutex;
    static std::map<std::string, std::unique_ptr<std::mutex>> registry;

    const std::lock_guard<std::mutex> guard (registryMutex);
    auto& entry = registry[lockPath];
    if (entry == nullptr)
        entry = std::make_unique<std::mutex>();
    return entry.get();
}

// Neither the mutex (a timed wait uses pthread_mutex_clocklock, which ThreadSanitizer does not
// follow) nor flock has a timed wait that every tool understands: both are polled, at first
// often, then every 20 ms.
template <typename TryOnce>
bool pollUntil (std::chrono::steady_clock::time_point deadline, TryOnce&& tryOnce)
{
    auto pause = std::chrono::milliseconds (1);
    for (;;)
    {
        if (tryOnce())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for (pause);
        pause = std::min (pause * 2, std::chrono::milliseconds (20));
    }
}

// 0 when the lock is taken, EWOULDBLOCK while another holds it, or the error that prevents it.
int tryExclusiveFlock (int descriptor)
{
    int result = 0;
    while ((result = ::flock (descriptor, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR)
    {
    }
    return result == 0 ? 0 : errno;
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
    if (! pollUntil (deadline, [candidate] { return candidate->try_lock(); }))
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

    int error = EWOULDBLOCK;
    pollUntil (deadline,
               [this, &error]
               {
                   error = tryExclusiveFlock (descriptor);
                   return error != EWOULDBLOCK;
               });
    if (error == 0)
        held = true;
    else
        reason = error == EWOULDBLOCK ? busy : describeErrno (error);
}

ExclusiveFileLock::~ExclusiveFileLock()
{
    // Closing the descriptor releases the flock.
    if (descriptor >= 0)
        ::close (descriptor);
    if (pathMutex != nullptr)
        pathMutex->unlock();
}
