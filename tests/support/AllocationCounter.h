#pragma once

// Counts heap allocations made on the calling thread: through operator new, and through malloc,
// calloc, realloc, aligned_alloc and posix_memalign from any code linked into the binary (JUCE
// allocates its buffers with malloc). Linking AllocationCounter.cpp into a test binary
// replaces the global operator new and delete with counting versions and wraps the C functions
// (both still allocate through the C library, so the sanitizers keep working). Code in a library
// loaded at run time is seen through operator new only.
//
//     AllocationCounter allocations;
//     codeThatMustNotAllocate();
//     EXPECT_EQ (allocations.count(), 0);

class AllocationCounter
{
public:
    AllocationCounter();

    /** Allocations on this thread since construction (or since the last reset). */
    long count() const;

    void reset();

private:
    long start;
};

/** While one exists, every operator new on the calling thread fails (nothrow forms return null,
    the others throw std::bad_alloc), to exercise out-of-memory paths. */
class ScopedAllocationFailure
{
public:
    ScopedAllocationFailure();
    ~ScopedAllocationFailure();

    ScopedAllocationFailure (const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator= (const ScopedAllocationFailure&) = delete;

private:
    bool previous;
};
