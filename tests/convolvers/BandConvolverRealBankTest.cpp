#include "BandConvolverSet.h"
#include "ConvolverTestBank.h"
#include "ConvolverTestRunner.h"

#include <gtest/gtest.h>

using namespace convolver_test;

// The embedded responses, as the processor prepares them at 48 kHz.
TEST (BandConvolverRealBankTest, ASetOnTheEmbeddedResponsesIsHeardFromItsFirstBlock)
{
    auto bank = std::make_shared<ResponseBank> (96000.0, 48000.0);
    bank->load();
    ASSERT_EQ (bank->bands.size(), 3u);

    BandConvolverSet set (48000.0, 1, bank);
    set.setBand (0, 48000.0, 200.0, "LP", 6.0);
    set.setBand (1, 48000.0, 1000.0, "PK", 3.0);
    set.setBand (2, 48000.0, 15000.0, "HP", -12.0);
    ASSERT_TRUE (set.isReady());
    EXPECT_EQ (set.getBand (1)->getBandName(), "MF");
    EXPECT_EQ (set.getBand (2)->getFrequencyMap().at (15000).count ("HP"), 1u);

    // 1000 Hz takes the 1500 Hz step; 3 dB lies half way between 2 and 4 dB.
    const auto& low = responseIn (*bank, 2, 1500, "PK", 2);
    const auto& high = responseIn (*bank, 2, 1500, "PK", 4);
    const auto blended = set.getBand (1)->getCurrentResponse();
    ASSERT_EQ (blended.getNumSamples(), 576);
    for (int i = 0; i < 576; ++i)
    {
        const double l = low.getSample (0, i), h = high.getSample (0, i);
        ASSERT_EQ (blended.getSample (0, i), (float) (l + 0.5 * (h - l))) << i;
    }

    // A unit impulse in the first block brings out each band's whole response at once.
    BlockRunner runner (2, 1024);
    const std::vector<const juce::AudioBuffer<float>*> expected{ &responseIn (*bank, 1, 200, "LP", 6), &blended,
                                                                 &responseIn (*bank, 3, 15000, "HP", -12) };
    for (int index = 0; index < 3; ++index)
    {
        const auto out = runner.runImpulse (*set.getBand (index), 1024);
        const auto want = asBlock (*expected[(size_t) index], 1024);
        for (size_t i = 0; i < out.size(); ++i)
            ASSERT_NEAR (out[i], want[i], 1.0e-5f) << "band " << index + 1 << ", sample " << i;
    }
}
