// Watches which band convolvers are freed, and in which order, by replacing the global operator
// delete of this test binary.
#include "BandConvolverSet.h"
#include "ConvolverTestBank.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
constexpr int maxWatched = 3;
std::atomic<void*> watched[maxWatched];
std::atomic<int> freedOrder[maxWatched];
std::atomic<int> freedCount{ 0 };

void noteFree (void* p) noexcept
{
    for (int i = 0; i < maxWatched; ++i)
        if (p != nullptr && watched[i].load() == p)
            freedOrder[freedCount++] = i;
}
} // namespace

// Every unaligned form is replaced, so that each allocation is released by the matching free.
void* operator new (std::size_t size)
{
    if (void* p = std::malloc (size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[] (std::size_t size)
{
    return operator new (size);
}
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc (size == 0 ? 1 : size);
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc (size == 0 ? 1 : size);
}
void operator delete (void* p) noexcept
{
    noteFree (p);
    std::free (p);
}
void operator delete[] (void* p) noexcept
{
    std::free (p);
}
void operator delete (void* p, std::size_t) noexcept
{
    operator delete (p);
}
void operator delete[] (void* p, std::size_t) noexcept
{
    std::free (p);
}
void operator delete (void* p, const std::nothrow_t&) noexcept
{
    operator delete (p);
}
void operator delete[] (void* p, const std::nothrow_t&) noexcept
{
    std::free (p);
}

TEST (BandConvolverSetDestructionTest, DestroyingASetFreesTheLastBandFirst)
{
    auto set = std::make_unique<BandConvolverSet> (48000.0, 1, convolver_test::makeBank());
    for (int i = 0; i < maxWatched; ++i)
        watched[i] = set->getBand (i);

    set.reset();
    ASSERT_EQ (freedCount.load(), 3);
    EXPECT_EQ (freedOrder[0].load(), 2);
    EXPECT_EQ (freedOrder[1].load(), 1);
    EXPECT_EQ (freedOrder[2].load(), 0);

    for (auto& w : watched)
        w = nullptr;
}
