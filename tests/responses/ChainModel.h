#pragma once

#include "LevelCompensationTable.h"
#include "ResponseDocumentSupport.h"

#include <cmath>
#include <complex>
#include <map>
#include <tuple>
#include <vector>

/** The processor's signal chain for one processing channel with trims at 0 dB, computed from
    a bank's own buffers: the band level formulas, the parallel sum of the three bands and the
    sample-rate level compensation. */
namespace responses_test
{
using Spectrum = std::vector<std::complex<double>>;

struct Step
{
    int frequency;
    juce::String type;
    int gain;
};

/** How far the rate's compensation constant lies from ideal scaling of the 96 kHz design. */
inline double compensationOffsetDb (double rate)
{
    return (double) LevelCompensationTable::levelForRate (rate) - (-18.4 + 20.0 * std::log10 (96000.0 / rate));
}

inline float bandLevel (int band, double gainDb)
{
    constexpr float trim = 0.0f;
    if (band == 1)
        return (float) std::pow (10.0, (gainDb * 0.25 + trim) * 0.05);
    if (band == 2)
        return std::pow (10.0f, (trim - 3.0f) * 0.05f);
    return (float) std::pow (10.0, ((double) (trim - 3.0f) + gainDb * 0.25) * 0.05);
}

inline float outputGain (double rate)
{
    return (float) std::pow (10.0, (0.0 + (double) LevelCompensationTable::levelForRate (rate)) * 0.05);
}

/** The analogue prototype of a step in dB. */
inline double prototypeDb (const juce::String& type, double f0, double gainDb, double frequency)
{
    if (gainDb == 0.0)
        return 0.0;
    const std::complex<double> s (0.0, frequency / f0);
    const double a = std::pow (10.0, gainDb / 40.0);
    std::complex<double> h;
    if (type == "PK")
    {
        const double q = 0.5 * std::pow (10.0, std::abs (gainDb) / 40.0);
        h = (s * s + s * a / q + 1.0) / (s * s + s / (a * q) + 1.0);
    }
    else
    {
        const double r = std::sqrt (a) * std::sqrt (2.0);
        h = type == "LP" ? a * (s * s + r * s + a) / (a * s * s + r * s + 1.0)
                         : a * (a * s * s + r * s + 1.0) / (s * s + r * s + a);
    }
    return 20.0 * std::log10 (std::abs (h));
}

inline double toDb (std::complex<double> value)
{
    return 20.0 * std::log10 (std::abs (value));
}

inline Spectrum spectrumOf (const std::vector<double>& impulse, const std::vector<double>& frequencies, double rate)
{
    Spectrum result;
    result.reserve (frequencies.size());
    for (auto f : frequencies)
    {
        const auto z = std::polar (1.0, -2.0 * juce::MathConstants<double>::pi * f / rate);
        std::complex<double> sum;
        for (auto n = impulse.size(); n-- > 0;)
            sum = sum * z + impulse[n];
        result.push_back (sum);
    }
    return result;
}

/** A bank at one rate and the chain built from it. */
struct ChainModel
{
    explicit ChainModel (double rateToUse)
        : rate (rateToUse)
        , bank (loadedBank (rateToUse))
    {
        const double top = rate < 48000.0 ? 19000.0 : 20000.0;
        for (int i = 0; i < 500; ++i)
            frequencies.push_back (20.0 * std::pow (top / 20.0, i / 499.0));
    }

    const juce::AudioBuffer<float>& buffer (int band, const Step& step) const
    {
        auto* found = find (*bank, band, step.frequency, step.type, step.gain);
        if (found == nullptr)
            throw std::runtime_error ("missing response");
        return *found;
    }

    /** The chain's impulse response with the three bands at these steps; a band's gain may lie
        between two steps, whose responses are then blended as the band convolver does. */
    std::vector<double> impulse (const std::array<Step, 3>& steps,
                                 std::array<double, 3> blendedGains = { NAN, NAN, NAN }) const
    {
        std::vector<double> sum;
        for (int b = 0; b < 3; ++b)
        {
            const auto& lower = buffer (b + 1, steps[(size_t) b]);
            const double gain =
                std::isnan (blendedGains[(size_t) b]) ? steps[(size_t) b].gain : blendedGains[(size_t) b];
            const auto level = bandLevel (b + 1, gain);
            sum.resize (std::max (sum.size(), (size_t) lower.getNumSamples()), 0.0);

            const juce::AudioBuffer<float>* upper = nullptr;
            float weight = 0.0f;
            if (! std::isnan (blendedGains[(size_t) b]))
            {
                static const int gains[] = { -12, -9, -6, -4, -2, 0, 2, 4, 6, 9, 12 };
                const auto next = *std::upper_bound (std::begin (gains), std::end (gains), steps[(size_t) b].gain);
                upper = &buffer (b + 1, { steps[(size_t) b].frequency, steps[(size_t) b].type, next });
                weight = (float) ((gain - steps[(size_t) b].gain) / (next - steps[(size_t) b].gain));
            }

            for (int n = 0; n < lower.getNumSamples(); ++n)
            {
                float sample = lower.getSample (0, n);
                if (upper != nullptr)
                    sample = sample + weight * (upper->getSample (0, n) - sample);
                sum[(size_t) n] += (double) (sample * level);
            }
        }
        const auto gain = outputGain (rate);
        for (auto& sample : sum)
            sample = (double) ((float) sample * gain);
        return sum;
    }

    /** The chain with one band at a step and the others flat. */
    std::array<Step, 3> single (int band, const Step& step) const
    {
        std::array<Step, 3> steps{ Step{ 50, "PK", 0 }, Step{ 400, "PK", 0 }, Step{ 5000, "PK", 0 } };
        steps[(size_t) band - 1] = step;
        return steps;
    }

    Spectrum spectrum (const std::vector<double>& chainImpulse) const
    {
        return spectrumOf (chainImpulse, frequencies, rate);
    }

    double rate;
    std::unique_ptr<ResponseBank> bank;
    std::vector<double> frequencies;
};

inline const ChainModel& chainAt (double rate)
{
    static std::map<double, std::unique_ptr<ChainModel>> models;
    auto& model = models[rate];
    if (model == nullptr)
        model = std::make_unique<ChainModel> (rate);
    return *model;
}
} // namespace responses_test
