#pragma once

#include <mutex>

/** The packet dispatcher's lock. A thread that already holds it can take it again without
    blocking; only its outermost holder releases it. */
class AAX_CRecursiveMutex
{
public:
    AAX_CRecursiveMutex() = default;
    AAX_CRecursiveMutex (const AAX_CRecursiveMutex&) = delete;
    AAX_CRecursiveMutex& operator= (const AAX_CRecursiveMutex&) = delete;

    void Lock() { mMutex.lock(); }
    void Unlock() { mMutex.unlock(); }

    /** Holds the mutex for one scope. */
    class ScopedLock
    {
    public:
        explicit ScopedLock (AAX_CRecursiveMutex& mutex)
            : mMutex (mutex)
        {
            mMutex.Lock();
        }
        ~ScopedLock() { mMutex.Unlock(); }

        ScopedLock (const ScopedLock&) = delete;
        ScopedLock& operator= (const ScopedLock&) = delete;

    private:
        AAX_CRecursiveMutex& mMutex;
    };

private:
    std::recursive_mutex mMutex;
};
