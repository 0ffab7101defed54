#include "AllocationCounter.h"
#include "BandConvolver.h"
#include "ConvolverTestBank.h"
#include "ConvolverTestRunner.h"

#include <gtest/gtest.h>

#include <random>

using namespace convolver_test;

namespace
{
long allocationsOfOneBlock (BandConvolver& convolver, juce::AudioBuffer<float>& work, juce::AudioBuffer<float>& scratch)
{
    for (int c = 0; c < work.getNumChannels(); ++c)
        for (int i = 0; i < work.getNumSamples(); ++i)
            work.setSample (c, i, (float) ((i * 7 + c * 3) % 17) / 17.0f - 0.5f);
    scratch.makeCopyOf (work, true);

    AllocationCounter allocations;
    convolver.process (work.getArrayOfWritePointers(), scratch.getArrayOfWritePointers(), work.getNumChannels(),
                       work.getNumSamples());
    return allocations.count();
}
} // namespace

// Only a block that loads a new response may allocate (the engine builds its stages for it); every
// other block, during a hand-over or outside one, must not.
TEST (BandConvolverRealtimeTest, ProcessAllocatesOnlyInABlockThatLoadsAResponse)
{
    for (const int responseLength : { 576, 2304 })
    {
        for (const int blockSize : { 64, 512, 1024 })
        {
            SCOPED_TRACE (testing::Message() << "response " << responseLength << ", block " << blockSize);
            auto bank = makeBank (responseLength);
            BandConvolver convolver (48000.0, 3, bank);
            juce::AudioBuffer<float> work (2, blockSize), scratch (2, blockSize);

            // The engine's queues settle at their working size within 32768 samples of a load.
            const int settlingBlocks = 32768 / blockSize;

            convolver.selectImpulse (7000.0, "PK", 2.0);
            convolver.setLoaded (true);
            EXPECT_GT (allocationsOfOneBlock (convolver, work, scratch), 0); // the first response loads
            for (int block = 0; block < settlingBlocks; ++block)
                allocationsOfOneBlock (convolver, work, scratch);
            for (int block = 0; block < 40; ++block)
                EXPECT_EQ (allocationsOfOneBlock (convolver, work, scratch), 0) << "steady block " << block;

            // A hand-over: only its first block, which loads, allocates.
            convolver.selectImpulse (12500.0, "HP", 4.5);
            EXPECT_GT (allocationsOfOneBlock (convolver, work, scratch), 0);
            for (int block = 2; block <= 6; ++block)
                EXPECT_EQ (allocationsOfOneBlock (convolver, work, scratch), 0) << "hand-over block " << block;
            for (int block = 0; block < settlingBlocks; ++block)
                allocationsOfOneBlock (convolver, work, scratch);
            for (int block = 0; block < 40; ++block)
                EXPECT_EQ (allocationsOfOneBlock (convolver, work, scratch), 0) << "steady block " << block;
        }
    }
}

// Selecting happens off the audio thread and may allocate there; it leaves nothing for the audio
// thread to allocate except the engine's own load.
TEST (BandConvolverRealtimeTest, ASelectionThatIsSkippedCostsTheAudioThreadNothing)
{
    auto bank = makeBank (576);
    BandConvolver convolver (48000.0, 2, bank);
    juce::AudioBuffer<float> work (2, 256), scratch (2, 256);
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    for (int block = 0; block < 32768 / 256; ++block)
        allocationsOfOneBlock (convolver, work, scratch);

    convolver.selectImpulse (800.0, "LP", 0.0); // no such type: nothing pending
    EXPECT_FALSE (convolver.selectImpulseIfChanged (800.0, "PK", 0.0));
    for (int block = 0; block < 8; ++block)
        EXPECT_EQ (allocationsOfOneBlock (convolver, work, scratch), 0) << block;
}

// A convolver sized for the prepared maximum block length allocates in no block of any length up to
// it, except those that load a response.
TEST (BandConvolverRealtimeTest, BlocksOfAnyLengthUpToTheMaximumAllocateNothing)
{
    for (const int maximum : { 1024, 4096 })
        for (const int responseLength : { 576, 2304 })
            for (const int channels : { 2, 1 })
            {
                SCOPED_TRACE (testing::Message() << "maximum " << maximum << ", response " << responseLength << ", "
                                                 << channels << " channels");
                auto bank = makeBank (responseLength);
                BandConvolver convolver (48000.0, 3, bank);
                convolver.setMaximumBlockSize (maximum);
                juce::AudioBuffer<float> input (channels, maximum), work (channels, maximum),
                    scratch (channels, maximum);
                for (int c = 0; c < channels; ++c)
                    for (int i = 0; i < maximum; ++i)
                        input.setSample (c, i, (float) ((i * 13 + c * 5) % 23) / 23.0f - 0.5f);

                std::mt19937 rng ((unsigned) (maximum + responseLength + channels));
                const auto process = [&] (int n)
                {
                    for (int c = 0; c < channels; ++c)
                    {
                        work.copyFrom (c, 0, input, c, 0, n);
                        scratch.copyFrom (c, 0, input, c, 0, n);
                    }
                    convolver.process (work.getArrayOfWritePointers(), scratch.getArrayOfWritePointers(), channels, n);
                };

                convolver.selectImpulse (7000.0, "PK", 2.0);
                convolver.setLoaded (true);
                process (32); // loads the first response
                {
                    AllocationCounter allocations;
                    for (int block = 0; block < 200; ++block)
                        process (block % 40 == 0 ? maximum : (int) (rng() % (unsigned) maximum) + 1);
                    EXPECT_EQ (allocations.count(), 0) << "after the first response";
                }

                // A hand-over: the block that loads may allocate, none after it.
                convolver.selectImpulse (12500.0, "HP", 4.5);
                process (7);
                {
                    AllocationCounter allocations;
                    for (int block = 0; block < 200; ++block)
                        process (block % 40 == 0 ? maximum : (int) (rng() % (unsigned) maximum) + 1);
                    EXPECT_EQ (allocations.count(), 0) << "through and after a hand-over";
                }
            }
}
