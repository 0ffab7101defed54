#include "BandConvolverSet.h"
#include "ConvolverTestBank.h"
#include "ConvolverTestRunner.h"

#include <gtest/gtest.h>

using namespace convolver_test;

TEST (BandConvolverSetTest, ANewSetHoldsThreeUnloadedBandsAndIsReady)
{
    auto bank = makeBank();
    BandConvolverSet set (44100.0, 2, bank);
    EXPECT_EQ (set.getChannel(), 2);
    EXPECT_EQ (set.getSampleRate(), 44100.0);
    EXPECT_TRUE (set.isReady());
    ASSERT_EQ (set.getNumBands(), 3);
    for (int index = 0; index < 3; ++index)
    {
        auto* band = set.getBand (index);
        ASSERT_NE (band, nullptr);
        EXPECT_EQ (band->getBandNumber(), index + 1);
        EXPECT_EQ (band->getSampleRate(), 44100.0);
        EXPECT_FALSE (band->isLoaded());
        EXPECT_FALSE (band->isPending());
    }
    EXPECT_EQ (set.getBand (0)->getBandName(), "LF");
    EXPECT_EQ (set.getBand (2)->getBandName(), "HF");
    EXPECT_EQ (set.getBand (-1), nullptr);
    EXPECT_EQ (set.getBand (3), nullptr);
}

TEST (BandConvolverSetTest, SetBandSelectsAndLoadsEachBand)
{
    auto bank = makeBank();
    BandConvolverSet set (44100.0, 1, bank);
    set.setBand (0, 48000.0, 100.0, "LP", 2.0);
    set.setBand (1, 48000.0, 1000.0, "PK", 0.0);
    set.setBand (2, 48000.0, 12500.0, "HP", -4.0);
    EXPECT_TRUE (set.isReady());

    for (int index = 0; index < 3; ++index)
    {
        EXPECT_TRUE (set.getBand (index)->isLoaded());
        EXPECT_TRUE (set.getBand (index)->isPending());
        EXPECT_EQ (set.getBand (index)->getSampleRate(), 48000.0);
    }
    EXPECT_TRUE (sameSamples (set.getBand (1)->getCurrentResponse(), responseIn (*bank, 2, 1500, "PK", 0)));

    // Each band is heard with its response from its first block.
    BlockRunner runner;
    EXPECT_EQ (runner.runImpulse (*set.getBand (0)), asBlock (responseIn (*bank, 1, 100, "LP", 2)));
    EXPECT_EQ (runner.runImpulse (*set.getBand (2)), asBlock (responseIn (*bank, 3, 12500, "HP", -4)));
}

TEST (BandConvolverSetTest, ABandWhoseKeysAreMissingIsStillLoaded)
{
    auto bank = makeBank();
    BandConvolverSet set (48000.0, 1, bank);
    set.setBand (1, 48000.0, 400.0, "LP", 0.0);
    EXPECT_TRUE (set.getBand (1)->isLoaded());
    EXPECT_FALSE (set.getBand (1)->isPending());

    // Loaded without a response: the band is silent rather than passing its input.
    BlockRunner runner;
    EXPECT_EQ (runner.runImpulse (*set.getBand (1)), silence());
}

TEST (BandConvolverSetTest, AnIndexOutsideTheBandsIsIgnored)
{
    auto bank = makeBank();
    BandConvolverSet set (48000.0, 1, bank);
    set.setBand (3, 96000.0, 400.0, "PK", 0.0);
    set.setBand (-1, 96000.0, 400.0, "PK", 0.0);
    set.setBand (1000, 96000.0, 400.0, "PK", 0.0);
    for (int index = 0; index < 3; ++index)
    {
        EXPECT_FALSE (set.getBand (index)->isLoaded());
        EXPECT_FALSE (set.getBand (index)->isPending());
        EXPECT_EQ (set.getBand (index)->getSampleRate(), 48000.0);
    }
    EXPECT_TRUE (set.isReady());
}

TEST (BandConvolverSetTest, TheSetKeepsItsBankAliveAfterItsOwnerLetsGo)
{
    auto bank = makeBank();
    const auto expected = asBlock (responseIn (*bank, 3, 7000, "PK", 4));
    std::weak_ptr<ResponseBank> watch = bank;
    auto set = std::make_unique<BandConvolverSet> (48000.0, 1, bank);
    bank.reset();
    ASSERT_FALSE (watch.expired());

    set->setBand (2, 48000.0, 7000.0, "PK", 4.0);
    BlockRunner runner;
    EXPECT_EQ (runner.runImpulse (*set->getBand (2)), expected);
    EXPECT_EQ (set->getBand (2)->getFrequencyMap().size(), 5u);

    set.reset();
    EXPECT_TRUE (watch.expired());
}

TEST (BandConvolverSetTest, ClearRemovesEveryBand)
{
    auto bank = makeBank();
    BandConvolverSet set (48000.0, 1, bank);
    set.clear();
    EXPECT_EQ (set.getNumBands(), 0);
    EXPECT_EQ (set.getBand (0), nullptr);
    set.setBand (0, 48000.0, 100.0, "PK", 0.0);
}
