#include <gtest/gtest.h>

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

TEST (RealTime, EngineAllocatesNothingAfterWarmUp)
{
    for (int taps : { 100, 5000, 100000 })
    {
        for (int block : { 1, 64, 256, 1024 })
        {
            ConvolutionEngine engine;
            engine.setImpulse (makeImpulse ({ randomSignal (taps, 1, 0.01f) }));
            const Signal x = randomSignal (block, 2);
            const float* in[] = { x.data(), x.data() };
            // warm up for several cycles of the largest partition so every queue reaches its working size
            const int warmUp = 4 * 65536 / block + 8;
            const int measured = 65536 / block + 8;
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

TEST (RealTime, SlotProcessAllocatesNothingAfterWarmUp)
{
    juce::AudioBuffer<float> source (1, 2304);
    for (int i = 0; i < 2304; ++i)
        source.setSample (0, i, 0.001f * (float) ((i * 7919) % 97));
    EngineSlot slot (&source);
    juce::AudioBuffer<float> block (2, 1024);
    for (int i = 0; i < 200; ++i)
    {
        block.clear();
        slot.process (block.getArrayOfWritePointers(), 2, 1024);
    }
    AllocationCounter allocations;
    for (int i = 0; i < 200; ++i)
        slot.process (block.getArrayOfWritePointers(), 2, 1024);
    EXPECT_EQ (allocations.count(), 0);
}
