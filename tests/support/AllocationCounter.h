#pragma once

// Counts heap allocations made through operator new on the calling thread. Linking
// AllocationCounter.cpp into a test binary replaces the global operator new and delete with
// counting versions (they still allocate through malloc, so AddressSanitizer keeps working).
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
