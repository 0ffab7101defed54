#include "ResponseDocumentSupport.h"

#include <gtest/gtest.h>

using namespace responses_test;

namespace
{
juce::AudioBuffer<float> unitImpulse (int length, int position = 0)
{
    juce::AudioBuffer<float> impulse (1, length);
    impulse.clear();
    impulse.setSample (0, position, 1.0f);
    return impulse;
}
} // namespace

TEST (ResponseBankResampling, AResampledImpulseStartsAtMostAFewSamplesLateAndLosesNothingAtItsStart)
{
    for (auto rate : hostRates)
    {
        SCOPED_TRACE (rate);
        juce::AudioBuffer<float> output;
        ResponseBank::resample (output, unitImpulse (1152), 96000.0, rate);
        ASSERT_EQ (output.getNumSamples(), (int) (1152 / (96000.0 / rate)));

        int first = -1;
        double sum = 0.0;
        float peak = 0.0f;
        for (int n = 0; n < output.getNumSamples(); ++n)
            peak = std::max (peak, std::abs (output.getSample (0, n)));
        for (int n = 0; n < output.getNumSamples(); ++n)
        {
            if (first < 0 && std::abs (output.getSample (0, n)) > 1.0e-3f * peak)
                first = n;
            sum += output.getSample (0, n);
        }
        EXPECT_GE (first, 0);
        EXPECT_LE (first, 10);
        // the same band-limited signal sampled at the host rate: its samples sum to rate / 96 kHz
        EXPECT_NEAR (sum, rate / 96000.0, 1.0e-4);
    }
}

TEST (ResponseBankResampling, EqualRatesCopyTheInputAndOddRatesKeepTheTruncatedLength)
{
    auto input = decodePayload (payloadOf (3, 7000, "PK", 9));
    ASSERT_EQ (input.getNumSamples(), 1152);

    juce::AudioBuffer<float> output;
    ResponseBank::resample (output, input, 96000.0, 96000.0);
    ASSERT_EQ (output.getNumSamples(), 1152);
    for (int n = 0; n < 1152; ++n)
        ASSERT_EQ (output.getSample (0, n), input.getSample (0, n));

    for (auto [rate, length] : std::vector<std::pair<double, int>>{
             { 32000.0, 384 }, { 50000.0, 600 }, { 44100.9, 529 }, { 22050.0, 264 }, { 384000.0, 4608 } })
    {
        ResponseBank::resample (output, input, 96000.0, rate);
        EXPECT_EQ (output.getNumSamples(), length) << rate;
        EXPECT_GT (output.getMagnitude (0, output.getNumSamples()), 0.01f) << rate;
    }

    for (auto rate : { 0.0, -48000.0, std::numeric_limits<double>::quiet_NaN() })
    {
        ResponseBank::resample (output, input, 96000.0, rate);
        EXPECT_EQ (output.getNumSamples(), 0) << rate;
    }
}

TEST (ResponseBankResampling, AResponseResampledAloneMatchesTheBanksSharedStream)
{
    const auto scale = (float) std::pow (10.0, embeddedXml()->getDoubleAttribute ("gain") / 20.0);
    for (auto rate : { 44100.0, 48000.0, 192000.0 })
    {
        SCOPED_TRACE (rate);
        const auto bank = loadedBank (rate);
        for (auto [band, frequency, type, gain] : std::vector<std::tuple<int, int, juce::String, int>>{
                 { 1, 50, "LP", -12 }, { 2, 3000, "PK", 6 }, { 3, 15000, "HP", 12 } })
        {
            auto decoded = decodePayload (payloadOf (band, frequency, type, gain));
            decoded.applyGain (scale);
            juce::AudioBuffer<float> alone;
            ResponseBank::resample (alone, decoded, 96000.0, rate);

            auto* shared = find (*bank, band, frequency, type, gain);
            ASSERT_NE (shared, nullptr);
            ASSERT_EQ (alone.getNumSamples(), shared->getNumSamples());
            const auto peak = alone.getMagnitude (0, alone.getNumSamples());
            for (int n = 0; n < alone.getNumSamples(); ++n)
                ASSERT_NEAR (alone.getSample (0, n), shared->getSample (0, n), 1.0e-5f * peak) << n;
        }
    }
}
