#include "AllocationCounter.h"
#include "ProcessingReference.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

using namespace processing_test;

namespace
{
constexpr int blockSize = 512;

class ProcessingRealtimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ChainSettings s;
        s.bands[0][0] = { true, 200, "LP", 6, 1.0f };
        s.bands[1][2] = { true, 15000, "HP", -9, 0.0f };
        s.applyTo (processor);
        prepare (processor, 48000.0, blockSize);
        for (int ch = 0; ch < block.getNumChannels(); ++ch)
            for (int i = 0; i < blockSize; ++i)
                block.setSample (ch, i, 0.3f * (random.nextFloat() - 0.5f));
    }

    // Runs blocks without allocating anything here; returns the allocations made inside.
    long allocationsOver (int numBlocks, int numSamples = blockSize)
    {
        AllocationCounter allocations;
        for (int b = 0; b < numBlocks; ++b)
        {
            juce::AudioBuffer<float> view (block.getArrayOfWritePointers(), block.getNumChannels(), numSamples);
            const juce::ScopedLock lock (processor.getCallbackLock());
            processor.processBlock (view, midi);
        }
        return allocations.count();
    }

    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
    juce::AudioBuffer<float> block{ 2, 4 * blockSize };
    juce::MidiBuffer midi;
    juce::Random random{ 11 };
};
} // namespace

TEST_F (ProcessingRealtimeTest, SteadyBlocksAllocateNothingInAnyMode)
{
    // The first block loads each band's response, which allocates: the counter sees this thread.
    EXPECT_GT (allocationsOver (1), 0);
    allocationsOver (3);

    const ChainSettings modes[] = { ChainSettings().mode (false, false, true, false, false),
                                    ChainSettings().mode (true, false, false, false, false),
                                    ChainSettings().mode (false, true, false, false, false),
                                    ChainSettings().mode (false, false, false, false, false) };
    for (const bool link : { true, false })
        for (const auto& mode : modes)
        {
            for (const auto* id : { "process_L", "process_R", "process_M", "process_S", "process_A" })
                setPlainValue (processor, id, 0.0f);
            setPlainValue (processor, "process_L", mode.processL ? 1.0f : 0.0f);
            setPlainValue (processor, "process_R", mode.processR ? 1.0f : 0.0f);
            setPlainValue (processor, "process_M", mode.processM ? 1.0f : 0.0f);
            setPlainValue (processor, "link_MSLR", link ? 1.0f : 0.0f);
            setPlainValue (processor, "input_level", link ? 6.0f : -3.0f);
            EXPECT_EQ (allocationsOver (50), 0);
        }

    // Shorter blocks than prepared, and a longer one that arrives without a new preparation.
    EXPECT_EQ (allocationsOver (20, 100), 0);
    EXPECT_EQ (allocationsOver (20, 4 * blockSize), 0);
}

TEST_F (ProcessingRealtimeTest, AfterAHandOverBlocksAllocateNothingAgain)
{
    allocationsOver (4);
    setPlainValue (processor, "frequency_1_2", 5000.0f);
    setPlainValue (processor, "gain_2_1", 12.0f);
    runMessageLoop();

    // The block that loads the new responses may allocate; the hand-over ends after five blocks.
    allocationsOver (8);
    EXPECT_EQ (allocationsOver (50), 0);
}

TEST_F (ProcessingRealtimeTest, BlocksOfVaryingLengthUpToThePreparedMaximumAllocateNothing)
{
    prepare (processor, 48000.0, 2 * blockSize);

    // The first block loads each band's response, which allocates.
    allocationsOver (1, blockSize);
    for (int round = 0; round < 10; ++round)
        for (const int length : { 100, 2 * blockSize, 7, 2 * blockSize, blockSize })
            EXPECT_EQ (allocationsOver (1, length), 0) << "round " << round << ", block of " << length;
}
