#pragma once

#include <chrono>
#include <mutex>
#include <string>

/** Holds a lock file exclusively, against other processes (flock) and against other threads of
    this process (a mutex per lock file: two descriptors of one process may not exclude each other
    on every system, and the mutex also makes the hand-over visible to thread checkers). Whoever
    reads, edits and rewrites a shared file holds one of these around all three steps.

    The lock file is created when missing, readable and writable by its owner only, and never
    removed: removing it would let two holders lock two different files of one name. Only a
    regular file of this user's is taken as the lock file; a link is never followed. Waiting is
    bounded; when the lock cannot be had, isHeld() is false and problem() says why. */
class ExclusiveFileLock
{
public:
    ExclusiveFileLock (const std::string& lockPath, std::chrono::milliseconds maximumWait);
    ~ExclusiveFileLock();

    ExclusiveFileLock (const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator= (const ExclusiveFileLock&) = delete;

    bool isHeld() const noexcept { return held; }

    /** Why the lock is not held, naming the lock file: "the lock file PATH is a folder" (or "is a
        symbolic link", "is a socket", "belongs to another user", "cannot be made: Read-only file
        system"), or that another holder kept it longer than the wait allowed. Empty when held. */
    const std::string& problem() const noexcept { return reason; }

private:
    std::mutex* pathMutex = nullptr;
    int descriptor = -1;
    bool held = false;
    std::string reason;
};
