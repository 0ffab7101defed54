#include "ExclusiveFileLock.h"

#include "AtomicFileWrite.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

// What makes an existing lock file unusable, as " is a folder"; empty when it is a regular file of
// this user's. Another user's file is refused even when it can be opened: its owner could hold the
// lock for ever, or take it from under us by replacing the file.
std::string describeLockFileProblem (const struct stat& info)
{
    if (S_ISLNK (info.st_mode))
        return " is a symbolic link";
    if (S_ISDIR (info.st_mode))
        return " is a folder";
    if (S_ISSOCK (info.st_mode))
        return " is a socket";
    if (S_ISFIFO (info.st_mode))
        return " is a named pipe";
    if (S_ISCHR (info.st_mode) || S_ISBLK (info.st_mode))
        return " is a device";
    if (! S_ISREG (info.st_mode))
        return " is not a regular file";
    if (info.st_uid != ::geteuid())
        return " belongs to another user";
    return {};
}

// Opens (making it when missing) the lock file, or returns -1 with the reason, which names the
// file. It is looked at before it is opened: opening a device or a pipe may act or wait, and a
// link is never followed, so that nothing is made elsewhere. What was opened is checked again.
int openLockFile (const std::string& lockPath, std::string& reason)
{
    const std::string named = "the lock file " + lockPath;
    struct stat info
    {
    };
    const bool existed = ::lstat (lockPath.c_str(), &info) == 0;
    if (! existed && errno != ENOENT)
    {
        reason = named + " cannot be examined: " + describeErrno (errno);
        return -1;
    }
    if (existed)
        if (auto problem = describeLockFileProblem (info); ! problem.empty())
        {
            reason = named + problem;
            return -1;
        }

    // Only its owner may open it: anyone who can may hold the lock.
    const int descriptor =
        ::open (lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (descriptor < 0)
    {
        const int error = errno;
        // Replaced meanwhile by something else: say what.
        if (::lstat (lockPath.c_str(), &info) == 0)
            if (auto problem = describeLockFileProblem (info); ! problem.empty())
            {
                reason = named + problem;
                return -1;
            }
        reason = named + (existed ? " cannot be opened: " : " cannot be made: ") + describeErrno (error);
        return -1;
    }

    std::string problem;
    if (::fstat (descriptor, &info) != 0)
        problem = " cannot be examined: " + describeErrno (errno);
    else
        problem = describeLockFileProblem (info);
    if (problem.empty())
        return descriptor;

    ::close (descriptor);
    reason = named + problem;
    return -1;
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

    descriptor = openLockFile (lockPath, reason);
    if (descriptor < 0)
        return;

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
        reason =
            error == EWOULDBLOCK ? busy : "the lock file " + lockPath + " cannot be locked: " + describeErrno (error);
}

ExclusiveFileLock::~ExclusiveFileLock()
{
    // Closing the descriptor releases the flock.
    if (descriptor >= 0)
        ::close (descriptor);
    if (pathMutex != nullptr)
        pathMutex->unlock();
}
