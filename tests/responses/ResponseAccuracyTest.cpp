#include "ChainModel.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <iostream>

using namespace responses_test;

namespace
{
const std::vector<int> gainSteps{ -12, -9, -6, -4, -2, 0, 2, 4, 6, 9, 12 };

const std::map<int, std::pair<std::vector<int>, std::vector<juce::String>>> bandSteps{
    { 1, { { 50, 100, 200, 300, 400 }, { "LP", "PK" } } },
    { 2, { { 400, 800, 1500, 3000, 5000 }, { "PK" } } },
    { 3, { { 5000, 7000, 10000, 12500, 15000 }, { "HP", "PK" } } },
};

/** Worst deviation of one acceptance item, reported with its limit. */
struct Worst
{
    std::string item;
    double limit;
    double value = 0.0;

    void add (double deviation) { value = std::max (value, std::abs (deviation)); }

    ~Worst()
    {
        std::cout << "[accuracy] " << std::left << std::setw (58) << item << " limit " << std::setw (8) << limit
                  << " worst " << value << std::endl;
    }
};

class ResponseAccuracy : public ::testing::TestWithParam<double>
{
protected:
    const ChainModel& model = chainAt (GetParam());
    const double rate = GetParam();

    /** At 96 and 48 kHz deviations are absolute, elsewhere relative to the flat chain. */
    Spectrum reference() const { return model.spectrum (model.impulse (model.single (1, { 50, "PK", 0 }))); }

    double expectedDb (double prototype, const Spectrum& flat, size_t k) const
    {
        if (rate == 96000.0 || rate == 48000.0)
            return prototype + compensationOffsetDb (rate);
        return prototype + toDb (flat[k]);
    }

    std::string label (const std::string& item) const
    {
        return juce::String (rate / 1000.0, 1).toStdString() + " kHz, " + item;
    }
};

double bandTwoAndThreeLimit (double rate)
{
    return rate == 48000.0 ? 0.03 : 0.02;
}

double bandOneLimit (const Step& step, double frequency)
{
    if (step.frequency >= 200)
        return 0.20;
    if (step.frequency == 100)
        return step.type == "LP" ? 0.20 : (std::abs (step.gain) <= 9 ? 0.40 : 1.0);
    if (frequency > 1000.0)
        return 0.15;
    return step.type == "LP" ? 0.8 : 2.3;
}
} // namespace

TEST_P (ResponseAccuracy, TheFlatChainSitsAtTheCompensationLevel)
{
    const double limit = rate == 96000.0 ? 0.001 : 0.01;
    Worst worst{ label ("flat chain"), limit };
    for (int i = 0; i < 5; ++i)
    {
        std::array<Step, 3> steps;
        for (int b = 0; b < 3; ++b)
            steps[(size_t) b] = { bandSteps.at (b + 1).first[(size_t) i], bandSteps.at (b + 1).second.back(), 0 };
        const auto spectrum = model.spectrum (model.impulse (steps));
        for (size_t k = 0; k < spectrum.size(); ++k)
        {
            const auto deviation = toDb (spectrum[k]) - compensationOffsetDb (rate);
            worst.add (deviation);
            ASSERT_LE (std::abs (deviation), limit) << model.frequencies[k] << " Hz, steps " << i;
        }
    }
}

TEST_P (ResponseAccuracy, BandsTwoAndThreeFollowTheirPrototypesAtEveryStep)
{
    const auto flat = reference();
    const auto limit = bandTwoAndThreeLimit (rate);
    Worst worst{ label ("bands 2 and 3, every step"), limit };

    for (int band : { 2, 3 })
        for (auto frequency : bandSteps.at (band).first)
            for (auto& type : bandSteps.at (band).second)
                for (auto gain : gainSteps)
                {
                    const Step step{ frequency, type, gain };
                    const auto spectrum = model.spectrum (model.impulse (model.single (band, step)));
                    for (size_t k = 0; k < spectrum.size(); ++k)
                    {
                        const auto prototype = prototypeDb (type, frequency, gain, model.frequencies[k]);
                        const auto deviation = toDb (spectrum[k]) - expectedDb (prototype, flat, k);
                        worst.add (deviation);
                        EXPECT_LE (std::abs (deviation), limit)
                            << "band " << band << " " << frequency << " Hz " << type << " " << gain << " dB at "
                            << model.frequencies[k] << " Hz";
                    }
                }
}

TEST_P (ResponseAccuracy, BandOneFollowsItsPrototypeWithinWhatTwelveMillisecondsAllow)
{
    const auto flat = reference();
    std::map<std::string, std::unique_ptr<Worst>> rows;
    auto row = [&] (const std::string& item, double limit) -> Worst&
    {
        auto& entry = rows[item];
        if (entry == nullptr)
            entry.reset (new Worst{ label (item), limit });
        return *entry;
    };

    for (auto frequency : bandSteps.at (1).first)
        for (auto& type : bandSteps.at (1).second)
            for (auto gain : gainSteps)
            {
                const Step step{ frequency, type, gain };
                const auto spectrum = model.spectrum (model.impulse (model.single (1, step)));
                for (size_t k = 0; k < spectrum.size(); ++k)
                {
                    const auto f = model.frequencies[k];
                    const auto limit = bandOneLimit (step, f);
                    std::string item;
                    if (frequency >= 200)
                        item = "band 1 at 200-400 Hz";
                    else if (frequency == 100)
                        item = type == "LP" ? "band 1 at 100 Hz, shelves"
                                            : (std::abs (gain) <= 9 ? "band 1 at 100 Hz, peaks up to 9 dB"
                                                                    : "band 1 at 100 Hz, peaks at 12 dB");
                    else if (f > 1000.0)
                        item = "band 1 at 50 Hz above 1 kHz";
                    else
                        item = type == "LP" ? "band 1 at 50 Hz below 1 kHz, shelves"
                                            : "band 1 at 50 Hz below 1 kHz, peaks";

                    const auto prototype = prototypeDb (type, frequency, gain, f);
                    const auto deviation = toDb (spectrum[k]) - expectedDb (prototype, flat, k);
                    row (item, limit).add (deviation);
                    EXPECT_LE (std::abs (deviation), limit)
                        << frequency << " Hz " << type << " " << gain << " dB at " << f << " Hz";
                }
            }
}

TEST_P (ResponseAccuracy, ABlendedGainFollowsItsOwnPrototype)
{
    const auto flat = reference();
    Worst worst{ label ("blended gain, band 2, 1500 Hz, 10.5 dB"), 0.15 };
    const auto steps = model.single (2, { 1500, "PK", 9 });
    const auto spectrum = model.spectrum (model.impulse (steps, { NAN, 10.5, NAN }));
    for (size_t k = 0; k < spectrum.size(); ++k)
    {
        const auto prototype = prototypeDb ("PK", 1500.0, 10.5, model.frequencies[k]);
        const auto deviation = toDb (spectrum[k]) - expectedDb (prototype, flat, k);
        worst.add (deviation);
        EXPECT_LE (std::abs (deviation), 0.15) << model.frequencies[k] << " Hz";
    }
}

TEST_P (ResponseAccuracy, TwoBandsTogetherAreTheSumOfTheirSingleBandResponses)
{
    Worst worst{ label ("two bands together against the sum"), 0.001 };
    const Step low{ 100, "PK", 6 }, high{ 10000, "HP", -4 }, middle{ 1500, "PK", -9 };

    auto both = model.single (1, low);
    both[2] = high;
    auto all = both;
    all[1] = middle;

    const auto flat = model.spectrum (model.impulse (model.single (1, { 50, "PK", 0 })));
    const auto first = model.spectrum (model.impulse (model.single (1, low)));
    const auto second = model.spectrum (model.impulse (model.single (2, middle)));
    const auto third = model.spectrum (model.impulse (model.single (3, high)));
    const auto pair = model.spectrum (model.impulse (both));
    const auto triple = model.spectrum (model.impulse (all));

    for (size_t k = 0; k < flat.size(); ++k)
    {
        const auto pairDeviation = toDb (pair[k]) - toDb (first[k] + third[k] - flat[k]);
        const auto tripleDeviation = toDb (triple[k]) - toDb (first[k] + second[k] + third[k] - 2.0 * flat[k]);
        worst.add (pairDeviation);
        worst.add (tripleDeviation);
        EXPECT_LE (std::abs (pairDeviation), 0.001) << model.frequencies[k] << " Hz";
        EXPECT_LE (std::abs (tripleDeviation), 0.001) << model.frequencies[k] << " Hz";
    }
}

namespace
{
struct EnergyShape
{
    size_t peakIndex;
    double centreSeconds;
};

EnergyShape energyShape (const std::vector<double>& impulse, double rate)
{
    size_t peakIndex = 0;
    double energy = 0.0, moment = 0.0;
    for (size_t n = 0; n < impulse.size(); ++n)
    {
        if (std::abs (impulse[n]) > std::abs (impulse[peakIndex]))
            peakIndex = n;
        energy += impulse[n] * impulse[n];
        moment += (double) n * impulse[n] * impulse[n];
    }
    return { peakIndex, moment / energy / rate };
}
} // namespace

TEST_P (ResponseAccuracy, EnergyArrivesAtTheStartOfTheResponse)
{
    if (rate == 96000.0)
    {
        Worst worst{ label ("energy centre of every single-band response (ms)"), 0.05 };
        for (int band = 1; band <= 3; ++band)
            for (auto frequency : bandSteps.at (band).first)
                for (auto& type : bandSteps.at (band).second)
                    for (auto gain : gainSteps)
                    {
                        const auto shape =
                            energyShape (model.impulse (model.single (band, { frequency, type, gain })), rate);
                        worst.add (shape.centreSeconds * 1000.0);
                        EXPECT_EQ (shape.peakIndex, 0u) << band << " " << frequency << " " << type << " " << gain;
                        EXPECT_LE (shape.centreSeconds, 0.05e-3)
                            << band << " " << frequency << " " << type << " " << gain;
                    }
        return;
    }

    const auto shape = energyShape (model.impulse (model.single (1, { 50, "PK", 0 })), rate);
    Worst centre{ label ("energy centre of the flat chain (ms)"), 0.25 };
    Worst peak{ label ("index of the flat chain's largest sample"), 9 };
    centre.add (shape.centreSeconds * 1000.0);
    peak.add ((double) shape.peakIndex);
    EXPECT_LT (shape.peakIndex, 10u);
    EXPECT_LE (shape.centreSeconds, 0.25e-3);
}

INSTANTIATE_TEST_SUITE_P (HostRates, ResponseAccuracy, ::testing::Values (44100.0, 48000.0, 96000.0),
                          [] (const auto& rateInfo) { return "At" + std::to_string ((int) rateInfo.param) + "Hz"; });

TEST (ResponseAccuracyAtOtherRates, TheFlatChainSitsAtTheCompensationLevelWithItsEnergyAtTheStart)
{
    for (auto rate : { 88200.0, 176400.0, 192000.0 })
    {
        SCOPED_TRACE (rate);
        const auto& model = chainAt (rate);
        const auto impulse = model.impulse (model.single (1, { 50, "PK", 0 }));
        const auto spectrum = model.spectrum (impulse);
        Worst worst{ juce::String (rate / 1000.0, 1).toStdString() + " kHz, flat chain", 0.01 };
        for (size_t k = 0; k < spectrum.size(); ++k)
        {
            const auto deviation = toDb (spectrum[k]) - compensationOffsetDb (rate);
            worst.add (deviation);
            EXPECT_LE (std::abs (deviation), 0.01) << model.frequencies[k] << " Hz";
        }

        const auto shape = energyShape (impulse, rate);
        Worst centre{ juce::String (rate / 1000.0, 1).toStdString() + " kHz, energy centre of the flat chain (ms)",
                      0.25 };
        centre.add (shape.centreSeconds * 1000.0);
        EXPECT_LT (shape.peakIndex, 10u);
        EXPECT_LE (shape.centreSeconds, 0.25e-3);
    }
}
