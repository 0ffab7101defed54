// The real-time tests are only as good as the counter: it must see every way of allocating.
#include "AllocationCounter.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace
{
// Keeps the compiler from removing an allocation whose memory is never used.
void* volatile sink = nullptr;

void keep (void* p)
{
    sink = p;
}
} // namespace

TEST (AllocationCounter, SeesOperatorNewAndTheCAllocationFunctions)
{
    AllocationCounter allocations;
    auto object = std::make_unique<int> (1);
    keep (object.get());
    EXPECT_EQ (allocations.count(), 1);

    allocations.reset();
    void* bytes = std::malloc (16);
    keep (bytes);
    bytes = std::realloc (bytes, 4096);
    keep (bytes);
    void* zeros = std::calloc (4, 4);
    keep (zeros);
    void* aligned = nullptr;
    const auto result = posix_memalign (&aligned, 64, 256);
    keep (aligned);
    const auto counted = allocations.count();

    EXPECT_EQ (result, 0);
    EXPECT_EQ (counted, 4);
    std::free (bytes);
    std::free (zeros);
    std::free (aligned);
}

TEST (AllocationCounter, SeesTheFrameworksHeapBlocks)
{
    AllocationCounter allocations;
    juce::HeapBlock<float> block (1024);
    keep (block.get());
    EXPECT_GE (allocations.count(), 1);
}

TEST (AllocationCounter, FailureMakesOperatorNewFail)
{
    int* plain = nullptr;
    bool threw = false;
    {
        ScopedAllocationFailure failing;
        plain = new (std::nothrow) int (1);
        try
        {
            keep (new int (2));
        }
        catch (const std::bad_alloc&)
        {
            threw = true;
        }
    }
    EXPECT_EQ (plain, nullptr);
    EXPECT_TRUE (threw);
}
