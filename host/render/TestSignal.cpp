#include "TestSignal.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double sweepSeconds = 3.0;
constexpr double noiseSeconds = 1.0;
constexpr double sweepStart = 20.0;
constexpr double sweepEnd = 20000.0;
// Lower rates end the sweep below their Nyquist frequency, so that it never folds back down.
constexpr double highestSweepEndPerRate = 0.45;
constexpr float sweepLevel = 0.25f; // -12 dBFS
constexpr float noiseLevel = 0.125f;
constexpr double fadeSeconds = 0.01;
} // namespace

juce::AudioBuffer<float> makeTestSignal (double sampleRate, int numChannels)
{
    const int sweepLength = static_cast<int> (sweepSeconds * sampleRate);
    const int noiseLength = static_cast<int> (noiseSeconds * sampleRate);
    const int fadeLength = std::max (1, static_cast<int> (fadeSeconds * sampleRate));
    juce::AudioBuffer<float> signal (numChannels, sweepLength + noiseLength);

    // Exponential sweep: the phase grows so that the frequency doubles in equal times.
    const double end = std::min (sweepEnd, highestSweepEndPerRate * sampleRate);
    const double rateOfGrowth = std::log (end / sweepStart) / sweepSeconds;
    for (int channel = 0; channel < numChannels; ++channel)
    {
        float* samples = signal.getWritePointer (channel);
        for (int i = 0; i < sweepLength; ++i)
        {
            const double t = i / sampleRate;
            const double phase =
                2.0 * juce::MathConstants<double>::pi * sweepStart * (std::exp (rateOfGrowth * t) - 1.0) / rateOfGrowth;
            const float fade = std::min (1.0f, std::min (i, sweepLength - 1 - i) / static_cast<float> (fadeLength));
            samples[i] = sweepLevel * fade * static_cast<float> (std::sin (phase));
        }

        juce::Random random (0x4C4B0000 + channel);
        for (int i = 0; i < noiseLength; ++i)
        {
            const float fade = std::min (1.0f, std::min (i, noiseLength - 1 - i) / static_cast<float> (fadeLength));
            samples[sweepLength + i] = noiseLevel * fade * (2.0f * random.nextFloat() - 1.0f);
        }
    }
    return signal;
}
