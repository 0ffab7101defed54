#include "BandConvolver.h"
#include "ConvolverTestBank.h"
#include "ConvolverTestRunner.h"

#include <gtest/gtest.h>

using namespace convolver_test;

namespace
{
struct SelectionTest : ::testing::Test
{
    std::shared_ptr<ResponseBank> bank = makeBank();
    BandConvolver mf{ 48000.0, 2, bank };
    BandConvolver lf{ 48000.0, 1, bank };

    // Selects and lets one block take the selection, so that nothing is pending any more.
    void selectAndTake (BandConvolver& convolver, double frequency, const juce::String& type, double gain)
    {
        convolver.setLoaded (true);
        convolver.selectImpulse (frequency, type, gain);
        BlockRunner().runImpulse (convolver);
        ASSERT_FALSE (convolver.isPending());
    }
};
} // namespace

TEST_F (SelectionTest, ConstructionTakesNameFlagsAndFrequencyMapFromTheBank)
{
    EXPECT_EQ (mf.getBandNumber(), 2);
    EXPECT_EQ (mf.getSampleRate(), 48000.0);
    EXPECT_EQ (mf.getBandName(), "MF");
    EXPECT_TRUE (mf.isFrequencyEnabled() && mf.isTypeEnabled() && mf.isGainEnabled() && mf.isMixEnabled());
    EXPECT_EQ (&mf.getFrequencyMap(), &bank->bands.at (2));
    EXPECT_FALSE (mf.isLoaded());
    EXPECT_FALSE (mf.isPending());
}

TEST_F (SelectionTest, ABandMissingFromTheBankSelectsNothingAndLeavesTheBankAlone)
{
    BandConvolver missing (48000.0, 4, bank);
    EXPECT_TRUE (missing.getFrequencyMap().empty());
    EXPECT_EQ (missing.getBandName(), "");
    EXPECT_FALSE (missing.isFrequencyEnabled() || missing.isTypeEnabled() || missing.isGainEnabled() ||
                  missing.isMixEnabled());

    missing.selectImpulse (400.0, "PK", 0.0);
    EXPECT_FALSE (missing.isPending());
    EXPECT_EQ (bank->bands.count (4), 0u);
}

TEST_F (SelectionTest, AStepKeySelectsThatStepUnblended)
{
    mf.selectImpulse (800.0, "PK", 4.0);
    EXPECT_TRUE (mf.isPending());
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 800, "PK", 4)));

    // The last step has no upper neighbour.
    mf.selectImpulse (800.0, "PK", 12.0);
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 800, "PK", 12)));

    mf.selectImpulse (800.0, "PK", -12.0);
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 800, "PK", -12)));
}

TEST_F (SelectionTest, FrequencyTakesTheFirstKeyNotBelowItsTruncatedValue)
{
    mf.selectImpulse (1000.0, "PK", 0.0);
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 1500, "PK", 0)));

    // 800.9 truncates to 800, which is a key.
    mf.selectImpulse (800.9, "PK", 0.0);
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 800, "PK", 0)));

    mf.selectImpulse (10.0, "PK", 0.0);
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 400, "PK", 0)));
}

TEST_F (SelectionTest, AGainBetweenStepsBlendsTheTwoNeighbours)
{
    mf.selectImpulse (800.0, "PK", 3.0);
    const auto& low = responseIn (*bank, 2, 800, "PK", 2);
    const auto& high = responseIn (*bank, 2, 800, "PK", 4);
    const auto blended = mf.getCurrentResponse();
    ASSERT_EQ (blended.getNumSamples(), low.getNumSamples());
    for (int i = 0; i < low.getNumSamples(); ++i)
    {
        const double l = low.getSample (0, i), h = high.getSample (0, i);
        EXPECT_EQ (blended.getSample (0, i), (float) (l + 0.5 * (h - l))) << i;
    }

    // 7.5 dB lies half way between 6 and 9; the weight follows the gain, not its floor.
    mf.selectImpulse (800.0, "PK", 7.5);
    const auto& six = responseIn (*bank, 2, 800, "PK", 6);
    const auto& nine = responseIn (*bank, 2, 800, "PK", 9);
    const auto blendedAgain = mf.getCurrentResponse();
    for (int i = 0; i < six.getNumSamples(); ++i)
    {
        const double l = six.getSample (0, i), h = nine.getSample (0, i);
        EXPECT_EQ (blendedAgain.getSample (0, i), (float) (l + 0.5 * (h - l))) << i;
    }

    // A negative gain between steps floors toward the lower step: -5 lies between -6 and -4.
    mf.selectImpulse (800.0, "PK", -5.0);
    const auto& minusSix = responseIn (*bank, 2, 800, "PK", -6);
    const auto& minusFour = responseIn (*bank, 2, 800, "PK", -4);
    const auto blendedNegative = mf.getCurrentResponse();
    for (int i = 0; i < minusSix.getNumSamples(); ++i)
    {
        const double l = minusSix.getSample (0, i), h = minusFour.getSample (0, i);
        EXPECT_EQ (blendedNegative.getSample (0, i), (float) (l + 0.5 * (h - l))) << i;
    }
}

TEST_F (SelectionTest, StepsOfDifferentLengthsBlendOverTheShorterAndKeepTheLowerBeyond)
{
    putResponse (*bank, 1, 100, "PK", 2, makeResponse (1, 100, "PK", 2, 48));
    putResponse (*bank, 1, 100, "PK", 4, makeResponse (1, 100, "PK", 4, 30));
    lf.selectImpulse (100.0, "PK", 3.0);

    const auto& low = responseIn (*bank, 1, 100, "PK", 2);
    const auto& high = responseIn (*bank, 1, 100, "PK", 4);
    const auto blended = lf.getCurrentResponse();
    ASSERT_EQ (blended.getNumSamples(), 48);
    for (int i = 0; i < 30; ++i)
    {
        const double l = low.getSample (0, i), h = high.getSample (0, i);
        EXPECT_EQ (blended.getSample (0, i), (float) (l + 0.5 * (h - l))) << i;
    }
    for (int i = 30; i < 48; ++i)
        EXPECT_EQ (blended.getSample (0, i), low.getSample (0, i)) << i;

    // A longer upper step is read only as far as the lower one reaches.
    putResponse (*bank, 1, 100, "PK", 6, makeResponse (1, 100, "PK", 6, 20));
    putResponse (*bank, 1, 100, "PK", 9, makeResponse (1, 100, "PK", 9, 64));
    lf.selectImpulse (100.0, "PK", 7.5);
    EXPECT_EQ (lf.getCurrentResponse().getNumSamples(), 20);
}

TEST_F (SelectionTest, MissingKeysLeaveTheBandUnchangedWithNothingPending)
{
    selectAndTake (mf, 800.0, "PK", 2.0);
    const auto before = mf.getCurrentResponse();

    mf.selectImpulse (6000.0, "PK", 0.0); // above the highest frequency
    EXPECT_FALSE (mf.isPending());
    mf.selectImpulse (400.0, "LP", 0.0); // no such type in this band
    EXPECT_FALSE (mf.isPending());
    mf.selectImpulse (400.0, "PK", -13.0); // below the lowest gain step
    EXPECT_FALSE (mf.isPending());
    mf.selectImpulse (std::numeric_limits<double>::quiet_NaN(), "PK", 0.0);
    mf.selectImpulse (400.0, "PK", std::numeric_limits<double>::infinity());
    mf.selectImpulse (1.0e300, "PK", 0.0);
    mf.selectImpulse (400.0, "PK", -1.0e300);
    EXPECT_FALSE (mf.isPending());

    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), before));
    EXPECT_TRUE (mf.isCurrentSelection (800.0, "PK", 2.0));

    // A huge gain floors to beyond the last step and takes it unblended.
    mf.selectImpulse (800.0, "PK", 1.0e300);
    EXPECT_TRUE (mf.isPending());
    EXPECT_TRUE (sameSamples (mf.getCurrentResponse(), responseIn (*bank, 2, 800, "PK", 12)));
}

TEST_F (SelectionTest, AStepWithoutChannelsIsTreatedAsMissing)
{
    putResponse (*bank, 2, 800, "PK", 0, juce::AudioBuffer<float>());
    mf.selectImpulse (800.0, "PK", 0.5);
    EXPECT_FALSE (mf.isPending());
}

TEST_F (SelectionTest, AnIdenticalSelectionIsRecognisedAndSkipped)
{
    EXPECT_FALSE (mf.isCurrentSelection (1500.0, "PK", 0.0));

    EXPECT_TRUE (mf.selectImpulseIfChanged (1000.0, "PK", 0.0));
    BlockRunner().runImpulse (mf); // not loaded: the selection stays pending
    EXPECT_TRUE (mf.isPending());

    // The same frequency key, type and gain is the same selection, however the frequency was given.
    EXPECT_TRUE (mf.isCurrentSelection (1500.0, "PK", 0.0));
    EXPECT_TRUE (mf.isCurrentSelection (1200.0, "PK", 0.0));
    EXPECT_FALSE (mf.isCurrentSelection (1500.0, "PK", 0.5));
    EXPECT_FALSE (mf.isCurrentSelection (3000.0, "PK", 0.0));
    EXPECT_FALSE (mf.isCurrentSelection (1500.0, "LP", 0.0));

    mf.setLoaded (true);
    BlockRunner().runImpulse (mf);
    ASSERT_FALSE (mf.isPending());
    EXPECT_FALSE (mf.selectImpulseIfChanged (1500.0, "PK", 0.0));
    EXPECT_FALSE (mf.isPending());
    EXPECT_TRUE (mf.selectImpulseIfChanged (1500.0, "PK", 2.0));
    EXPECT_TRUE (mf.isPending());

    // A failed selection does not become the last one.
    EXPECT_TRUE (mf.selectImpulseIfChanged (400.0, "LP", 0.0));
    EXPECT_TRUE (mf.isCurrentSelection (1500.0, "PK", 2.0));
}
