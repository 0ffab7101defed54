#include <gtest/gtest.h>

#include <random>

#include "AllocationCounter.h"
#include "EngineSlot.h"
#include "EngineTestHelpers.h"

using namespace enginetest;

TEST (RealTime, AllocationCounterSeesOperatorNew)
{
    AllocationCounter allocations;
    void* p = ::operator new (16);
    ::operator delete (p);
    HeapBuffer b;
    b.resize (10);
    EXPECT_EQ (allocations.count(), 2);
}

TEST (RealTime, EngineAllocatesNothingAfterItsFirstBlocks)
{
    for (int taps : { 100, 5000, 100000 })
    {
        for (int block : { 1, 64, 256, 1024 })
        {
            ConvolutionEngine engine;
            engine.setImpulse (makeImpulse ({ randomSignal (taps, 1, 0.01f) }));
            const Signal x = randomSignal (block, 2);
            const float* in[] = { x.data(), x.data() };
            // after the first two blocks nothing may allocate, through several cycles of the largest partition
            const int warmUp = 2;
            const int measured = 3 * 65536 / block + 8;
            for (int i = 0; i < warmUp; ++i)
            {
                engine.add (in, block, 2);
                const int ready = engine.avail (block);
                engine.outputQueues[0].consumeFloats (ready);
                engine.outputQueues[1].consumeFloats (ready);
            }
            AllocationCounter allocations;
            for (int i = 0; i < measured; ++i)
            {
                engine.add (in, block, 2);
                const int ready = engine.avail (block);
                engine.outputQueues[0].consumeFloats (ready);
                engine.outputQueues[1].consumeFloats (ready);
            }
            EXPECT_EQ (allocations.count(), 0) << taps << " taps, blocks of " << block;
        }
    }
}

TEST (RealTime, VaryingBlockSizesAllocateNothingAfterTheFirstBlocks)
{
    // Random sizes up to the largest after a few blocks of the largest: these fixed sequences once
    // grew a stage's output queue hundreds of blocks into playback.
    struct Scenario
    {
        int taps, largest;
        unsigned seed;
    };
    for (const Scenario scenario : { Scenario{ 1152, 512, 224 }, Scenario{ 5000, 1024, 6 }, Scenario{ 5000, 1024, 2 } })
    {
        ConvolutionEngine engine;
        engine.setImpulse (makeImpulse ({ randomSignal (scenario.taps, 1, 0.01f) }));
        const Signal left = randomSignal (scenario.largest, 2), right = randomSignal (scenario.largest, 3);
        const float* in[] = { left.data(), right.data() };
        std::mt19937 rng (scenario.seed);
        const auto process = [&] (int n)
        {
            engine.add (in, n, 2);
            const int ready = engine.avail (n);
            engine.outputQueues[0].consumeFloats (ready);
            engine.outputQueues[1].consumeFloats (ready);
            return ready == n;
        };
        for (int i = 0; i < 4; ++i)
            process (scenario.largest);

        AllocationCounter allocations;
        bool alwaysReady = true;
        for (int i = 0; i < 1200 && allocations.count() == 0; ++i)
            alwaysReady = process ((int) (rng() % (unsigned) scenario.largest) + 1) && alwaysReady;
        EXPECT_EQ (allocations.count(), 0) << scenario.taps << " taps, seed " << scenario.seed;
        EXPECT_TRUE (alwaysReady);
    }
}

TEST (RealTime, SlotProcessAllocatesNothingAfterItsFirstBlocks)
{
    juce::AudioBuffer<float> source (1, 2304);
    for (int i = 0; i < 2304; ++i)
        source.setSample (0, i, 0.001f * (float) ((i * 7919) % 97));
    EngineSlot slot (&source);
    for (int blockSize : { 64, 1024 })
    {
        slot.load (source);
        // non-silent input, so that every FFT stage transforms and multiplies
        const Signal left = randomSignal (blockSize, 5), right = randomSignal (blockSize, 6);
        juce::AudioBuffer<float> block (2, blockSize);
        const auto refill = [&]
        {
            block.copyFrom (0, 0, left.data(), blockSize);
            block.copyFrom (1, 0, right.data(), blockSize);
        };
        for (int i = 0; i < 2; ++i)
        {
            refill();
            slot.process (block.getArrayOfWritePointers(), 2, blockSize);
        }
        AllocationCounter allocations;
        bool convolved = true;
        for (int i = 0; i < 2 * 65536 / blockSize; ++i)
        {
            refill();
            slot.process (block.getArrayOfWritePointers(), 2, blockSize);
            convolved = convolved && block.getSample (0, blockSize - 1) != left[(size_t) blockSize - 1];
        }
        EXPECT_EQ (allocations.count(), 0) << "blocks of " << blockSize;
        EXPECT_TRUE (convolved) << "blocks of " << blockSize;
    }
}

TEST (RealTime, OutOfMemoryPassesBlocksDryWithoutCrashing)
{
    juce::AudioBuffer<float> source (1, 3000);
    for (int i = 0; i < 3000; ++i)
        source.setSample (0, i, 0.01f * (float) ((i * 31) % 7));
    const Signal original = randomSignal (512, 4);
    Signal x = original;
    float* channels[] = { x.data(), x.data() };

    // a warmed-up slot needs no memory, so it keeps convolving
    EngineSlot warm (&source);
    for (int i = 0; i < 300; ++i)
        warm.process (channels, 1, 512);
    x = original;
    {
        ScopedAllocationFailure noMemory;
        warm.process (channels, 1, 512);
    }
    EXPECT_NE (x, original);

    // loading and the first blocks need memory: without it the blocks pass dry
    EngineSlot slot (&source);
    bool allDry = true;
    x = original;
    {
        ScopedAllocationFailure noMemory;
        for (int round = 0; round < 3; ++round)
        {
            slot.process (channels, 2, 512);
            allDry = allDry && x == original;
        }
        slot.load (source);
        slot.process (channels, 1, 512);
        allDry = allDry && x == original;
    }
    EXPECT_TRUE (allDry);

    // with memory back, a new load works again
    slot.load (source);
    Signal impulse (256, 0.0f);
    impulse[0] = 1.0f;
    float* ch[] = { impulse.data() };
    slot.process (ch, 1, 256);
    EXPECT_FLOAT_EQ (impulse[1], source.getSample (0, 1));
}

TEST (RealTime, SlotSizedForAMaximumAllocatesNothingForAnyBlockUpToIt)
{
    // A host may vary its block length anywhere up to the prepared maximum long after warm-up; only
    // the load and the first block after it may allocate.
    for (const int maximum : { 1024, 4096 })
        for (const int taps : { 100, 2304, 5000, 100000 })
            for (const int channels : { 2, 1 })
            {
                SCOPED_TRACE (testing::Message()
                              << "maximum " << maximum << ", " << taps << " taps, " << channels << " channels");
                const Signal response = randomSignal (taps, 9, 0.02f);
                juce::AudioBuffer<float> source (1, taps);
                source.copyFrom (0, 0, response.data(), taps);

                EngineSlot slot (&source);
                slot.setMaximumBlockSize (maximum);
                const Signal left = randomSignal (maximum, 10), right = randomSignal (maximum, 11);
                juce::AudioBuffer<float> block (channels, maximum);
                std::mt19937 rng ((unsigned) (maximum + taps + channels));
                bool convolved = true;
                const auto process = [&] (int n)
                {
                    block.copyFrom (0, 0, left.data(), n);
                    if (channels > 1)
                        block.copyFrom (1, 0, right.data(), n);
                    slot.process (block.getArrayOfWritePointers(), channels, n);
                    convolved = convolved && block.getSample (0, n - 1) != left[(size_t) n - 1];
                };

                // Sized after the slot was built, then again by a later load.
                for (int round = 0; round < 2; ++round)
                {
                    if (round == 1)
                        slot.load (source);
                    process (16);

                    AllocationCounter allocations;
                    for (int i = 0; i < 300; ++i)
                        process (i % 50 == 0 ? maximum : (int) (rng() % (unsigned) maximum) + 1);
                    EXPECT_EQ (allocations.count(), 0) << "round " << round;
                    EXPECT_TRUE (convolved) << "round " << round;
                }
            }
}

TEST (RealTime, SizingForAMaximumChangesNoOutputSample)
{
    for (const int taps : { 100, 5000, 40000 })
    {
        const Signal response = randomSignal (taps, 12, 0.02f);
        const std::vector<Signal> input = { randomSignal (60000, 13), randomSignal (60000, 14) };
        std::vector<Signal> outputs[2];
        for (int sized = 0; sized < 2; ++sized)
        {
            ConvolutionEngine engine;
            if (sized == 1)
                engine.setMaximumBlockSize (2048);
            engine.setImpulse (makeImpulse ({ response }));
            std::mt19937 rng (15);
            outputs[sized] = runEngine (engine, input, [&] { return (int) (rng() % 2048u) + 1; });
        }
        EXPECT_EQ (outputs[0], outputs[1]) << taps << " taps";
    }
}
