#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "AllocationCounter.h"
#include "BlockQueue.h"
#include "HeapBuffer.h"
#include "SampleQueue.h"

TEST (HeapBuffer, GrowsInWholePagesMinusAHeader)
{
    HeapBuffer b;
    EXPECT_NE (b.resize (100), nullptr);
    EXPECT_EQ (b.alloc, 4000);
    EXPECT_EQ (b.size, 100);
    b.resize (5000);
    EXPECT_EQ (b.alloc, 8096);
    b.resize (4000); // fits: no reallocation without allowShrink
    EXPECT_EQ (b.alloc, 8096);
    b.resize (100000); // g = 49152: (100000 + 96 + 49152) & ~4095 = 147456
    EXPECT_EQ (b.alloc, 147456 - 96);
}

TEST (HeapBuffer, GrowthStepIsCappedAtFourMegabytes)
{
    HeapBuffer b;
    b.resize (20000000);
    EXPECT_EQ (b.alloc, ((20000000 + 96 + 4194304) & ~4095) - 96);
}

TEST (HeapBuffer, KeepsContentsAcrossGrowth)
{
    HeapBuffer b;
    b.resize (3000);
    for (int i = 0; i < 3000; ++i)
        b.buf[i] = (char) i;
    b.resize (50000);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ (b.buf[i], (char) i);
}

TEST (HeapBuffer, NegativeSizeFreesLikeZero)
{
    HeapBuffer b;
    b.resize (100);
    EXPECT_EQ (b.resize (-5, true), nullptr);
    EXPECT_EQ (b.buf, nullptr);
    EXPECT_EQ (b.alloc, 0);
    EXPECT_EQ (b.size, 0);

    HeapBuffer kept;
    kept.resize (100);
    EXPECT_EQ (kept.resize (-5), nullptr); // without allowShrink the memory stays
    EXPECT_EQ (kept.alloc, 4000);
}

TEST (HeapBuffer, ShrinksOnlyBelowTheThreshold)
{
    HeapBuffer b;
    b.resize (30000);
    ASSERT_EQ (b.alloc, 40864); // ((30000 + 96 + 12288) & ~4095) - 96
    b.resize (40000);
    b.resize (30000);
    EXPECT_EQ (b.alloc, 40864);
    // the threshold is min (alloc - 16384, alloc / 2) = 20432
    b.resize (21000, true);
    EXPECT_EQ (b.alloc, 40864);
    b.resize (20000, true);
    EXPECT_EQ (b.alloc, 24480); // ((20000 + 96 + 8192) & ~4095) - 96
}

TEST (HeapBuffer, ShrinkThresholdOfTheDocumentedExample)
{
    // alloc 40000, size 30000: threshold min (40000 - 16384, 20000) = 20000
    HeapBuffer b (4096);
    b.resize (30000);
    b.alloc = 40000; // as if grown that way; contents are not touched by the checks below
    b.resize (25000, true);
    EXPECT_EQ (b.alloc, 40000);
    EXPECT_EQ (b.size, 25000);
    b.resize (100, true);
    EXPECT_EQ (b.alloc, 4000);
}

TEST (HeapBuffer, SmallGranularityGrowsByHalfTheRequest)
{
    HeapBuffer b (16);
    b.resize (100);
    EXPECT_EQ (b.alloc, 150);
    b.resize (10);
    EXPECT_EQ (b.alloc, 150);
    b.resize (10, true); // same size: nothing changes
    b.resize (4, true);  // threshold max (min (150 - 64, 75), 1) = 75
    EXPECT_EQ (b.alloc, 16 + 4);
}

TEST (HeapBuffer, SizeBeyondTheInt32RangeFailsAndKeepsTheContents)
{
    for (int32_t growthStep : { HeapBuffer::defaultGranularity, 16 })
    {
        HeapBuffer b (growthStep);
        b.resize (1000);
        std::iota (b.buf, b.buf + 1000, (char) 0);
        char* const old = b.buf;
        const int32_t oldAlloc = b.alloc;
        for (int32_t huge : { INT32_MAX - 4000, INT32_MAX })
        {
            // the growth on top of these passes INT32_MAX: refused before anything is allocated
            EXPECT_EQ (b.resize (huge), old) << huge;
            ASSERT_EQ (b.buf, old);
            EXPECT_EQ (b.size, 1000);
            EXPECT_EQ (b.alloc, oldAlloc);
        }
        EXPECT_EQ (b.buf[999], (char) (999 % 256));
    }
}

TEST (SampleQueue, CompactsOnceMoreThanHalfIsConsumed)
{
    SampleQueue q;
    char* room = q.append (100);
    ASSERT_NE (room, nullptr);
    std::iota (room, room + 100, (char) 0);
    q.consume (40);
    EXPECT_EQ (q.readPos, 40); // not more than half: no move
    q.consume (20);
    EXPECT_EQ (q.readPos, 0);
    EXPECT_EQ (q.queued(), 40);
    EXPECT_EQ (q.data.size, 40);
    EXPECT_EQ (q.front()[0], (char) 60);
    EXPECT_EQ (q.front()[39], (char) 99);
}

TEST (SampleQueue, OverConsumingEmptiesAndRestartsAtTheFront)
{
    SampleQueue q;
    q.append (64);
    q.consume (1000);
    EXPECT_EQ (q.queued(), 0);
    EXPECT_EQ (q.front(), nullptr);
    q.consume (-10);
    EXPECT_EQ (q.queued(), 0);
    char* room = q.append (8);
    EXPECT_EQ (room, q.data.buf);
    EXPECT_EQ (q.queued(), 8);
}

TEST (SampleQueue, FullyConsumedQueueReusesItsBuffer)
{
    SampleQueue q;
    q.append (100);
    q.readPos = 100; // consumed without compaction
    char* room = q.append (10);
    EXPECT_EQ (room, q.data.buf);
    EXPECT_EQ (q.readPos, 0);
    EXPECT_EQ (q.queued(), 10);
}

TEST (SampleQueue, AppendReusesConsumedBytesBeforeGrowing)
{
    SampleQueue q;
    char* room = q.append (3000);
    ASSERT_NE (room, nullptr);
    std::iota (room, room + 3000, (char) 0);
    const int32_t alloc = q.data.alloc;
    q.consume (1400); // not more than half: consume leaves the bytes where they are
    ASSERT_EQ (q.readPos, 1400);

    // 1600 queued + 2000 fit the allocation once the consumed front is reused
    AllocationCounter allocations;
    room = q.append (2000);
    EXPECT_EQ (allocations.count(), 0);
    ASSERT_NE (room, nullptr);
    EXPECT_EQ (q.data.alloc, alloc);
    EXPECT_EQ (q.readPos, 0);
    EXPECT_EQ (q.queued(), 3600);
    EXPECT_EQ (q.front()[0], (char) (1400 % 256));
    EXPECT_EQ (q.front()[1599], (char) (2999 % 256));
    EXPECT_EQ (room, q.front() + 1600);

    // a room that does not fit even then grows the buffer, keeping what is queued
    q.consume (100);
    room = q.append (alloc);
    ASSERT_NE (room, nullptr);
    EXPECT_GT (q.data.alloc, alloc);
    EXPECT_EQ (q.queued(), 3500 + alloc);
    EXPECT_EQ (q.front()[0], (char) (1500 % 256));
}

TEST (BlockQueue, LargeAddMakesOneExactBlockAndTheNextAddANewOne)
{
    BlockQueue q;
    std::vector<char> data (70000, 3);
    ASSERT_NE (q.add (data.data(), 70000), nullptr);
    ASSERT_EQ (q.numBlocks(), 1);
    auto* first = q.blocks.as<BlockQueue::Block*>()[0];
    EXPECT_EQ (first->capacity, 70000);
    q.add (nullptr, 10);
    ASSERT_EQ (q.numBlocks(), 2);
    EXPECT_EQ (q.blocks.as<BlockQueue::Block*>()[1]->capacity, 65472);
    EXPECT_EQ (q.available, 70010);
    EXPECT_EQ (q.add (data.data(), 0), nullptr);
}

TEST (BlockQueue, CopyOutWalksAcrossBlocksWithoutConsuming)
{
    BlockQueue q;
    q.blockSize = 16;
    std::vector<char> data (40);
    std::iota (data.begin(), data.end(), (char) 0);
    q.add (data.data(), 10);
    q.add (data.data() + 10, 10);
    q.add (data.data() + 20, 20);
    EXPECT_EQ (q.numBlocks(), 3);
    q.advance (4);

    std::vector<char> out (100, -1);
    EXPECT_EQ (q.copyOut (out.data(), 100), 36);
    for (int i = 0; i < 36; ++i)
        ASSERT_EQ (out[(size_t) i], (char) (i + 4));
    EXPECT_EQ (q.available, 36);
}

TEST (BlockQueue, AppendQueuesRoomThatTheCallerFillsAndZeroAddsStillClear)
{
    BlockQueue q;
    q.blockSize = 16;
    std::vector<char> data (16, 7);
    q.add (data.data(), 16);
    q.advance (16); // the block goes to the spares with its sevens

    char* room = q.append (12);
    ASSERT_NE (room, nullptr);
    EXPECT_EQ (q.available, 12);
    std::iota (room, room + 12, (char) 1);
    char* zeros = q.add (nullptr, 4); // fits the same reused block: must still come out as zeros
    ASSERT_EQ (zeros, room + 12);
    EXPECT_EQ (q.append (0), nullptr);

    std::vector<char> out (16, -1);
    ASSERT_EQ (q.copyOut (out.data(), 16), 16);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (out[(size_t) i], (char) (i + 1));
    for (int i = 12; i < 16; ++i)
        EXPECT_EQ (out[(size_t) i], 0);
}

TEST (BlockQueue, AdvancePastTheEndSparesEveryBlock)
{
    BlockQueue q;
    q.blockSize = 16;
    std::vector<char> data (16, 1);
    q.add (data.data(), 16);
    q.add (data.data(), 16);
    q.add (data.data(), 8);
    q.advance (20);
    EXPECT_EQ (q.numBlocks(), 2);
    EXPECT_EQ (q.readOffset, 4);
    q.advance (1000);
    EXPECT_EQ (q.readOffset, 0);
    EXPECT_EQ (q.available, 0);
    EXPECT_EQ (q.numBlocks(), 0);
    EXPECT_EQ (q.numSpares(), 3);

    // spares are reused from the back, and one too small is freed
    auto* lastSpare = q.spares.as<BlockQueue::Block*>()[2];
    EXPECT_EQ (q.add (data.data(), 12), lastSpare->bytes());
    q.clear();
    EXPECT_EQ (q.numSpares(), 3);
    EXPECT_NE (q.add (nullptr, 17), nullptr);
    EXPECT_EQ (q.numSpares(), 2);
    EXPECT_EQ (q.blocks.as<BlockQueue::Block*>()[0]->capacity, 17);
}

TEST (BlockQueue, SpareLimitFreesSurplusBlocks)
{
    BlockQueue q;
    q.blockSize = 8;
    q.maxSpares = 1;
    for (int i = 0; i < 4; ++i)
        q.add (nullptr, 8);
    q.clear();
    EXPECT_EQ (q.numSpares(), 1);
    EXPECT_EQ (q.available, 0);
}

TEST (BlockQueue, ReservedSparesServeLaterAdds)
{
    BlockQueue q;
    q.reserveSpares (2);
    EXPECT_EQ (q.numSpares(), 2);
    EXPECT_EQ (q.numBlocks(), 0);
    EXPECT_EQ (q.available, 0);
    q.add (nullptr, 100);
    EXPECT_EQ (q.numSpares(), 1);
    EXPECT_EQ (q.blocks.as<BlockQueue::Block*>()[0]->capacity, 65472);
    q.reserveSpares (1);
    EXPECT_EQ (q.numSpares(), 1);
}
