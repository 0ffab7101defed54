#include "BandConvolver.h"
#include "ConvolverTestBank.h"
#include "ConvolverTestRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace convolver_test;

// One thread keeps selecting while another processes blocks. Every block must hear one complete
// response: a torn staging buffer would give a mixture that matches neither.
TEST (BandConvolverConcurrencyTest, SelectingWhileProcessingNeverTearsAResponse)
{
    auto bank = std::make_shared<ResponseBank> (96000.0, 48000.0);
    juce::AudioBuffer<float> first (1, 48), second (1, 40);
    for (int i = 0; i < 48; ++i)
        first.setSample (0, i, 0.5f + 0.01f * (float) i);
    for (int i = 0; i < 40; ++i)
        second.setSample (0, i, -0.25f - 0.02f * (float) i);
    putResponse (*bank, 2, 800, "PK", 0, first);
    putResponse (*bank, 2, 1500, "PK", 0, second);
    const auto heardFirst = asBlock (first), heardSecond = asBlock (second);

    BandConvolver convolver (48000.0, 2, bank);
    convolver.selectImpulse (800.0, "PK", 0.0);
    convolver.setLoaded (true);

    // Both sides keep going until each has done its share, however fast either one runs.
    constexpr int selections = 10000, minimumBlocks = 600;
    std::atomic<bool> selecting{ true };
    std::atomic<int> blocks{ 0 };
    std::thread selector (
        [&]
        {
            for (int i = 0; i < selections || blocks.load() < minimumBlocks; ++i)
                convolver.selectImpulse (i % 2 == 0 ? 1500.0 : 800.0, "PK", 0.0);
            convolver.selectImpulse (800.0, "PK", 0.0);
            selecting = false;
        });

    BlockRunner runner;
    int firstHeard = 0, secondHeard = 0, torn = 0;
    while (selecting)
    {
        const auto out = runner.runImpulse (convolver);
        ++blocks;
        if (out == heardFirst)
            ++firstHeard;
        else if (out == heardSecond)
            ++secondHeard;
        else
            ++torn;
    }
    selector.join();

    // Which of the two is heard in a block depends on timing; that it is always a whole one does not.
    EXPECT_EQ (torn, 0);
    EXPECT_EQ (firstHeard + secondHeard, blocks.load());

    // The last selection is the one left in force once the selector stops.
    for (int i = 0; i < 12; ++i)
        runner.runImpulse (convolver);
    EXPECT_EQ (runner.runImpulse (convolver), heardFirst);
    EXPECT_FALSE (convolver.isPending());
}

// The editor may ask whether a selection is current while the audio thread runs.
TEST (BandConvolverConcurrencyTest, SkippingIdenticalSelectionsIsSafeWhileProcessing)
{
    auto bank = makeBank();
    BandConvolver convolver (48000.0, 1, bank);
    convolver.selectImpulse (100.0, "PK", 0.0);
    convolver.setLoaded (true);

    std::atomic<bool> selecting{ true };
    std::atomic<int> blocks{ 0 };
    std::thread selector (
        [&]
        {
            for (int i = 0; i < 2000 || blocks.load() < 100; ++i)
                convolver.selectImpulseIfChanged (i % 3 == 0 ? 200.0 : 100.0, "PK", (double) (i % 5));
            selecting = false;
        });

    BlockRunner runner;
    while (selecting)
    {
        const auto out = runner.runImpulse (convolver);
        for (float s : out)
            ASSERT_TRUE (std::isfinite (s));
        ++blocks;
    }
    selector.join();
}
