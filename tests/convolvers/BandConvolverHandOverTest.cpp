#include "BandConvolver.h"
#include "ConvolverTestBank.h"
#include "ConvolverTestRunner.h"

#include <gtest/gtest.h>

#include <random>

using namespace convolver_test;

namespace
{
struct HandOverTest : ::testing::Test
{
    std::shared_ptr<ResponseBank> bank = makeBank();
    BandConvolver convolver{ 48000.0, 2, bank };
    BlockRunner runner;

    std::vector<float> heard (int frequency, int gain) const
    {
        return asBlock (responseIn (*bank, 2, frequency, "PK", gain));
    }
};
} // namespace

TEST_F (HandOverTest, NothingHappensUntilTheBandIsLoaded)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    std::vector<float> input (64, 0.25f);
    EXPECT_EQ (runner.run (convolver, input), input);
    EXPECT_TRUE (convolver.isPending());

    // The selection made before loading is what the first loaded block takes.
    convolver.setLoaded (true);
    EXPECT_EQ (runner.runImpulse (convolver), heard (800, 0));
    EXPECT_FALSE (convolver.isPending());
}

TEST_F (HandOverTest, ABandWithoutAnySelectionIsSilentUntilItsFirstResponseArrives)
{
    convolver.setLoaded (true);
    for (int block = 0; block < 8; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), silence()) << block;

    // However long the band ran silent, its first response is heard at once.
    convolver.selectImpulse (5000.0, "PK", 9.0);
    EXPECT_EQ (runner.runImpulse (convolver), heard (5000, 9));
}

TEST_F (HandOverTest, TheFirstSelectionIsHeardInTheFirstBlock)
{
    convolver.selectImpulse (800.0, "PK", 4.0);
    convolver.setLoaded (true);
    for (int block = 0; block < 8; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (800, 4)) << block;
}

TEST_F (HandOverTest, TheFirstResponseStartsFromSilentHistory)
{
    convolver.selectImpulse (800.0, "PK", 4.0);
    convolver.setLoaded (true);

    // Input that arrived before the response was loaded leaves no trace: a block starting with a
    // constant gives the response's running sum from zero.
    std::vector<float> input (64, 1.0f);
    const auto out = runner.run (convolver, input);
    const auto& response = responseIn (*bank, 2, 800, "PK", 4);
    double sum = 0.0;
    for (int i = 0; i < 48; ++i)
    {
        sum += response.getSample (0, i);
        EXPECT_NEAR (out[(size_t) i], sum, 1.0e-5) << i;
    }
}

TEST_F (HandOverTest, ALaterSelectionIsHeardInTheSixthBlockAsAHardSwitch)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    runner.runImpulse (convolver);

    convolver.selectImpulse (3000.0, "PK", 6.0);
    for (int block = 1; block <= 5; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (800, 0)) << block;
    for (int block = 6; block <= 12; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (3000, 6)) << block;

    // The next one follows the same schedule.
    convolver.selectImpulse (400.0, "PK", -12.0);
    for (int block = 1; block <= 5; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (3000, 6)) << block;
    EXPECT_EQ (runner.runImpulse (convolver), heard (400, -12));
}

TEST_F (HandOverTest, TheNewResponseTakesOverWithTheRecentInputInItsHistory)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    runner.run (convolver, std::vector<float> (64, 0.0f));

    // A constant input from the selection on: in the sixth block the new engine has heard five blocks
    // of it, so its output is the full sum of the response, not a restart.
    convolver.selectImpulse (3000.0, "PK", 6.0);
    std::vector<float> ones (64, 1.0f);
    for (int block = 1; block <= 5; ++block)
        runner.run (convolver, ones);
    const auto out = runner.run (convolver, ones);
    const auto& response = responseIn (*bank, 2, 3000, "PK", 6);
    double sum = 0.0;
    for (int i = 0; i < response.getNumSamples(); ++i)
        sum += response.getSample (0, i);
    for (size_t i = 0; i < out.size(); ++i)
        EXPECT_NEAR (out[i], sum, 1.0e-5) << i;
}

TEST_F (HandOverTest, OnlyTheLastOfTwoSelectionsInOneBlockArrives)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    runner.runImpulse (convolver);

    convolver.selectImpulse (1500.0, "PK", 2.0);
    convolver.selectImpulse (5000.0, "PK", -4.0);
    for (int block = 1; block <= 5; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (800, 0)) << block;
    EXPECT_EQ (runner.runImpulse (convolver), heard (5000, -4));
    EXPECT_EQ (runner.runImpulse (convolver), heard (5000, -4));
}

TEST_F (HandOverTest, ASelectionDuringAHandOverWaitsForItToEnd)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    runner.runImpulse (convolver);

    convolver.selectImpulse (1500.0, "PK", 0.0);
    runner.runImpulse (convolver);
    runner.runImpulse (convolver);
    convolver.selectImpulse (3000.0, "PK", 0.0);
    for (int block = 3; block <= 5; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (800, 0)) << block;
    EXPECT_TRUE (convolver.isPending());

    // The first hand-over completes on its own schedule; the waiting selection starts its own in the
    // block after the switch.
    EXPECT_EQ (runner.runImpulse (convolver), heard (1500, 0));
    EXPECT_TRUE (convolver.isPending());
    for (int block = 1; block <= 5; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (1500, 0)) << block;
    EXPECT_FALSE (convolver.isPending());
    EXPECT_EQ (runner.runImpulse (convolver), heard (3000, 0));
}

TEST_F (HandOverTest, NullWorkStillLoadsThePendingResponse)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    convolver.process (nullptr, nullptr, 2, 64);
    EXPECT_FALSE (convolver.isPending());
    EXPECT_EQ (runner.runImpulse (convolver), heard (800, 0));

    // A later selection loaded by a null-work block waits for the next real block to start its
    // hand-over, and is heard five blocks after that.
    convolver.selectImpulse (1500.0, "PK", 0.0);
    convolver.process (nullptr, nullptr, 2, 64);
    EXPECT_FALSE (convolver.isPending());
    for (int block = 1; block <= 5; ++block)
        EXPECT_EQ (runner.runImpulse (convolver), heard (800, 0)) << block;
    EXPECT_EQ (runner.runImpulse (convolver), heard (1500, 0));
}

TEST_F (HandOverTest, BothChannelsAreConvolvedWithTheSameResponse)
{
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);
    runner.runImpulse (convolver);
    const auto expected = heard (800, 0);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 64; ++i)
            EXPECT_EQ (runner.work.getSample (c, i), expected[(size_t) i]);
}

// Outside a hand-over the idle slot runs on scratch only for its history to be thrown away by the
// next load. Skipping it must not change a single output sample, whatever the block sizes and
// however selections fall relative to hand-overs.
TEST (IdleSlotTest, SkippingTheIdleSlotChangesNoOutputSample)
{
    for (const int responseLength : { 48, 600, 2304 })
    {
        auto bank = makeBank (responseLength);
        BandConvolver skipping (48000.0, 3, bank);
        BandConvolver running (48000.0, 3, bank);
        running.setIdleSlotRunning (true);

        const std::vector<std::pair<double, double>> selections{
            { 5000.0, 0.0 }, { 7000.0, 3.0 }, { 10000.0, -12.0 }, { 12500.0, 7.5 }, { 15000.0, 12.0 }
        };
        std::mt19937 random (1234u + (unsigned) responseLength);
        std::uniform_real_distribution<float> sample (-1.0f, 1.0f);
        std::uniform_int_distribution<int> blockSize (1, 512);
        BlockRunner runnerA (2, 512), runnerB (2, 512);

        size_t next = 0;
        for (int block = 0; block < 400; ++block)
        {
            // Selections land before loading, inside hand-overs and in steady state alike.
            if (block % 7 == 0 || block % 11 == 3)
            {
                const auto& [frequency, gain] = selections[next++ % selections.size()];
                const juce::String type = (block / 7) % 2 == 0 ? "PK" : "HP";
                skipping.selectImpulse (frequency, type, gain);
                running.selectImpulse (frequency, type, gain);
            }
            if (block == 3)
            {
                skipping.setLoaded (true);
                running.setLoaded (true);
            }

            std::vector<float> input ((size_t) blockSize (random));
            for (auto& s : input)
                s = sample (random);
            ASSERT_EQ (runnerA.run (skipping, input), runnerB.run (running, input))
                << "response length " << responseLength << ", block " << block;
        }
    }
}
