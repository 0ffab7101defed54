#include "LevelCompensationTable.h"
#include "ProcessingReference.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <xmmintrin.h>

using namespace processing_test;

namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 512;
constexpr float tolerance = 2.0e-6f;

// Distinct responses in every band of both processing channels, so that every routing term is told
// apart from every other.
ChainSettings distinctBands()
{
    ChainSettings s;
    s.bands[0] = { BandSettings{ true, 100, "LP", 6, 1.5f }, BandSettings{ true, 800, "PK", -4, -2.0f },
                   BandSettings{ true, 12500, "HP", 9, 0.5f } };
    s.bands[1] = { BandSettings{ true, 300, "PK", -9, 3.0f }, BandSettings{ true, 3000, "PK", 12, 0.0f },
                   BandSettings{ true, 5000, "PK", -2, -6.0f } };
    return s;
}

enum class Term
{
    none,
    p1Left,
    p1Right,
    p2Right,
    mid,
    side,
    x0,
    x1
};

// first + sign * second
struct Sum
{
    Term first = Term::none;
    Term second = Term::none;
    float sign = 1.0f;
};

std::vector<float> evaluate (const BlockTerms& t, const Sum& sum, size_t n)
{
    auto termOf = [&t, n] (Term term)
    {
        switch (term)
        {
            case Term::p1Left:
                return t.p1[0];
            case Term::p1Right:
                return t.p1[1];
            case Term::p2Right:
                return t.p2[1];
            case Term::mid:
                return t.mid;
            case Term::side:
                return t.side;
            case Term::x0:
                return t.x0;
            case Term::x1:
                return t.x1;
            case Term::none:
                break;
        }
        return std::vector<float> (n, 0.0f);
    };

    auto result = termOf (sum.first);
    const auto second = termOf (sum.second);
    for (size_t i = 0; i < n; ++i)
        result[i] += sum.sign * second[i];
    return result;
}

struct RoutingRow
{
    const char* name;
    bool l, r, m, s, a, link, solo1, solo2;
    Sum left, right;
};

// The routing table, row by row, plus the priority of the mode switches. Columns: name, the switches
// L, R, M, S, A, link, solo 1 and solo 2, then the terms summed into the left and the right output.
// clang-format off
const RoutingRow routingRows[] = {
    { "linked M, both solos", 0, 0, 1, 0, 0, 1, 1, 1, { Term::p1Left, Term::p2Right }, { Term::p1Left, Term::p2Right, -1 } },
    { "linked S, both solos", 0, 0, 0, 1, 0, 1, 1, 1, { Term::p1Left, Term::p2Right }, { Term::p1Left, Term::p2Right, -1 } },
    { "linked M, solo 1", 0, 0, 1, 0, 0, 1, 1, 0, { Term::p1Left }, { Term::p1Left } },
    { "linked S, solo 2", 0, 0, 0, 1, 0, 1, 0, 1, { Term::p2Right }, { Term::p2Right } },
    { "linked M, no solo", 0, 0, 1, 0, 0, 1, 0, 0, {}, {} },
    { "linked L, both solos", 1, 0, 0, 0, 0, 1, 1, 1, { Term::p1Left }, { Term::p2Right } },
    { "linked R, solo 1", 0, 1, 0, 0, 0, 1, 1, 0, { Term::p1Left }, {} },
    { "linked R, solo 2", 0, 1, 0, 0, 0, 1, 0, 1, {}, { Term::p2Right } },
    { "unlinked M, both solos", 0, 0, 1, 0, 0, 0, 1, 1, { Term::p1Left, Term::side }, { Term::p1Left, Term::side, -1 } },
    { "unlinked M, solo 2", 0, 0, 1, 0, 0, 0, 0, 1, { Term::none, Term::side }, { Term::none, Term::side, -1 } },
    { "unlinked S, both solos", 0, 0, 0, 1, 0, 0, 1, 1, { Term::mid, Term::p2Right }, { Term::mid, Term::p2Right, -1 } },
    { "unlinked S, solo 1", 0, 0, 0, 1, 0, 0, 1, 0, { Term::mid }, { Term::mid } },
    { "unlinked L, both solos", 1, 0, 0, 0, 0, 0, 1, 1, { Term::p1Left }, { Term::x1 } },
    { "unlinked L, solo 2", 1, 0, 0, 0, 0, 0, 0, 1, {}, { Term::x1 } },
    { "unlinked R, both solos", 0, 1, 0, 0, 0, 0, 1, 1, { Term::x0 }, { Term::p2Right } },
    { "unlinked R, solo 1", 0, 1, 0, 0, 0, 0, 1, 0, { Term::x0 }, {} },
    { "linked A, both solos", 0, 0, 0, 0, 1, 1, 1, 1, { Term::p1Left }, { Term::p1Right } },
    { "unlinked A, solo 2", 0, 0, 0, 0, 1, 0, 0, 1, {}, { Term::p1Right } },
    { "no mode switch", 0, 0, 0, 0, 0, 1, 1, 1, {}, {} },
    { "linked M and L: M or S wins", 1, 0, 1, 0, 1, 1, 1, 1, { Term::p1Left, Term::p2Right }, { Term::p1Left, Term::p2Right, -1 } },
    { "unlinked M and S: M wins", 0, 0, 1, 1, 0, 0, 1, 1, { Term::p1Left, Term::side }, { Term::p1Left, Term::side, -1 } },
    { "unlinked S and L: S wins", 1, 0, 0, 1, 0, 0, 1, 1, { Term::mid, Term::p2Right }, { Term::mid, Term::p2Right, -1 } },
    { "unlinked R and A: R wins", 0, 1, 0, 0, 1, 0, 1, 1, { Term::x0 }, { Term::p2Right } },
};
// clang-format on

// The settings with a row's switches.
ChainSettings withRouting (ChainSettings settings, const RoutingRow& row)
{
    settings.mode (row.l, row.r, row.m, row.s, row.a);
    settings.link = row.link;
    settings.solo1 = row.solo1;
    settings.solo2 = row.solo2;
    return settings;
}

class BlockProcessingTest : public ::testing::Test
{
protected:
    // Prepares the processor with the settings and a reference chain on the same responses.
    void start (const ChainSettings& s, double sampleRate = rate)
    {
        settings = s;
        settings.applyTo (processor);
        prepare (processor, sampleRate, blockSize);
        reference = std::make_unique<ReferenceChain> (processor.getResponseBank(), settings);
    }

    void change (const ChainSettings& s)
    {
        settings = s;
        settings.applyTo (processor);
    }

    // Runs a block through both and checks the output against left and right built from the terms.
    void expectBlock (const juce::AudioBuffer<float>& input, const Sum& left, const Sum& right, float factorLeft,
                      float factorRight)
    {
        const auto out = processed (processor, input);
        const auto terms = reference->run (input, settings);
        const auto n = (size_t) input.getNumSamples();
        auto expectedLeft = evaluate (terms, left, n);
        auto expectedRight = evaluate (terms, right, n);
        float peak = 0.0f;
        for (size_t i = 0; i < n; ++i)
        {
            expectedLeft[i] *= factorLeft;
            expectedRight[i] *= factorRight;
            peak = std::max ({ peak, std::abs (expectedLeft[i]), std::abs (expectedRight[i]) });
        }

        // The peak guard: a block louder than +20 dB is brought down to a peak of 10.
        if (20.0f * std::log10 (peak) > 20.0f)
        {
            ++guardedBlocks;
            for (size_t i = 0; i < n; ++i)
            {
                expectedLeft[i] *= 10.0f / peak;
                expectedRight[i] *= 10.0f / peak;
            }
        }
        EXPECT_LT (maxDifference (out, 0, expectedLeft), tolerance);
        EXPECT_LT (maxDifference (out, 1, expectedRight), tolerance);
    }

    float compensation() const { return processor.getLevelCompensation(); }

    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
    ChainSettings settings;
    std::unique_ptr<ReferenceChain> reference;
    juce::Random random{ 7 };
    int guardedBlocks = 0;
};
} // namespace

TEST_F (BlockProcessingTest, EveryRowOfTheRoutingTable)
{
    start (distinctBands());
    const float unity = outputFactor (0.0f, false, compensation());

    for (const auto& row : routingRows)
    {
        SCOPED_TRACE (row.name);
        const auto s = withRouting (settings, row);
        change (s);

        for (int block = 0; block < 2; ++block)
            expectBlock (noiseBlock (2, blockSize, random), row.left, row.right, unity, unity);
    }
}

TEST_F (BlockProcessingTest, BandLevelsFollowTheirFormulas)
{
    // Every band heard on its own through linked L/R: channel 1 on the left, channel 2 on the right.
    auto s = distinctBands().mode (true, false, false, false, false);
    s.bands[0][0].trim = 6.0f;
    s.bands[0][1].trim = -6.0f;
    s.bands[0][2].trim = 4.5f;
    s.bands[1][0].trim = -1.0f;
    start (s);
    const float unity = outputFactor (0.0f, false, compensation());
    for (int block = 0; block < 3; ++block)
        expectBlock (noiseBlock (2, blockSize, random), { Term::p1Left }, { Term::p2Right }, unity, unity);

    // The formulas themselves: band 1 a quarter of its gain plus its trim, band 2 its trim less 3 dB
    // (its gain plays no part), band 3 both.
    EXPECT_NEAR (bandLevel (1, 12.0f, 0.0f), std::pow (10.0f, 3.0f / 20.0f), 1.0e-6f);
    EXPECT_NEAR (bandLevel (2, 12.0f, 3.0f), 1.0f, 1.0e-6f);
    EXPECT_NEAR (bandLevel (3, -12.0f, 6.0f), 1.0f, 1.0e-6f);
}

TEST_F (BlockProcessingTest, InactiveBandsPassTheirInputAtUnity)
{
    auto s = distinctBands().mode (true, false, false, false, false);
    for (auto& band : s.bands[0])
        band.active = false;
    s.bands[1][1].active = false;
    start (s);

    // All three off: three times the input, +9.54 dB before the output gain.
    const auto input = noiseBlock (2, blockSize, random);
    const auto out = processed (processor, input);
    const float unity = outputFactor (0.0f, false, compensation());
    for (int i = 0; i < blockSize; ++i)
        ASSERT_NEAR (out.getSample (0, i), 3.0f * input.getSample (0, i) * unity, tolerance) << i;

    reference->run (input, settings);
    for (int block = 0; block < 2; ++block)
        expectBlock (noiseBlock (2, blockSize, random), { Term::p1Left }, { Term::p2Right }, unity, unity);
}

TEST_F (BlockProcessingTest, OutputGainsPhaseAndTheMinus100DbFloor)
{
    auto s = distinctBands();
    s.gainL = -3.5f;
    s.gainR = 7.0f;
    s.phaseR = true;
    start (s);
    expectBlock (noiseBlock (2, blockSize, random), { Term::p1Left }, { Term::p1Right },
                 outputFactor (-3.5f, false, compensation()), outputFactor (7.0f, true, compensation()));

    // -96 dB with -12.4 dB compensation is below -100 dB: that channel falls silent.
    s.gainL = -96.0f;
    s.phaseL = true;
    change (s);
    const auto out = processed (processor, noiseBlock (2, blockSize, random));
    EXPECT_EQ (out.getMagnitude (0, 0, blockSize), 0.0f);
    EXPECT_GT (out.getMagnitude (1, 0, blockSize), 0.0f);
}

TEST_F (BlockProcessingTest, LevelCompensationByTruncatedRate)
{
    std::vector<std::pair<double, float>> rates;
    for (const auto& [rate, levelDb] : LevelCompensationTable::calibrated)
        rates.emplace_back (rate, levelDb);
    for (const double rate : { 32000.0, 50000.0, 44100.9 })
        rates.emplace_back (rate, LevelCompensationTable::levelForRate (rate));

    // All bands off and All mode: the output is three times the input times the compensation.
    ChainSettings s;
    for (auto& channel : s.bands)
        for (auto& band : channel)
            band.active = false;
    s.applyTo (processor);

    for (const auto& [sampleRate, expectedDb] : rates)
    {
        SCOPED_TRACE (sampleRate);
        prepare (processor, sampleRate, blockSize);
        EXPECT_EQ (processor.getLevelCompensation(), expectedDb);

        const auto input = noiseBlock (2, blockSize, random);
        const auto out = processed (processor, input);
        const float factor = (float) std::pow (10.0, (double) expectedDb * 0.05);
        for (int i = 0; i < blockSize; ++i)
            ASSERT_NEAR (out.getSample (1, i), (3.0f * input.getSample (1, i)) * factor, tolerance) << i;
    }
}

TEST_F (BlockProcessingTest, SaturationAtPlus12DbDrivesWithTheInputGainTwice)
{
    auto s = distinctBands();
    s.inputLevel = 12.0f;
    start (s);

    // Loud input: the saturation bounds what enters the bands (the boosts can still take a block
    // past the peak guard).
    const float unity = outputFactor (0.0f, false, compensation());
    for (int block = 0; block < 4; ++block)
        expectBlock (noiseBlock (2, blockSize, random, 4.0f), { Term::p1Left }, { Term::p1Right }, unity, unity);

    const auto terms = ReferenceChain (nullptr, settings).run (impulseBlock (2, 4), settings);
    const float g = std::pow (10.0f, 0.6f);
    EXPECT_NEAR (g, 3.981f, 1.0e-3f);
    EXPECT_NEAR (terms.x0[0], atanf (g * g * 1.0f) * 2.0f / juce::MathConstants<float>::pi, 1.0e-6f);

    // Back to 0 dB: the stage passes the samples untouched.
    s.inputLevel = 0.0f;
    change (s);
    for (int block = 0; block < 2; ++block)
        expectBlock (noiseBlock (2, blockSize, random), { Term::p1Left }, { Term::p1Right }, unity, unity);
}

TEST_F (BlockProcessingTest, PeakGuardKeepsTenAndHalvesTwenty)
{
    ChainSettings s;
    for (auto& channel : s.bands)
        for (auto& band : channel)
            band.active = false;
    start (s);
    const float factor = outputFactor (0.0f, false, compensation());

    // The input sample whose way through the chain ((x + x) + x, times the output factor) lands
    // exactly on the wanted peak.
    auto inputFor = [factor] (float peak)
    {
        float x = peak / (3.0f * factor);
        for (int step = 0; step < 64 && ((x + x) + x) * factor != peak; ++step)
            x = std::nextafter (x, ((x + x) + x) * factor < peak ? 100.0f : 0.0f);
        EXPECT_EQ (((x + x) + x) * factor, peak);
        return x;
    };

    for (const float peak : { 10.0f, 20.0f })
    {
        juce::AudioBuffer<float> input (2, blockSize);
        input.clear();
        input.setSample (0, 100, inputFor (peak));
        input.setSample (1, 7, 0.25f);
        const auto out = processed (processor, input);

        const float scale = peak == 10.0f ? 1.0f : 0.5f;
        EXPECT_FLOAT_EQ (out.getSample (0, 100), peak * scale) << peak;
        EXPECT_FLOAT_EQ (out.getSample (1, 7),
                         ((0.25f + 0.25f) + 0.25f) * factor * (peak == 10.0f ? 1.0f : 10.0f / 20.0f));
    }

    // The next block is measured afresh.
    const auto quiet = noiseBlock (2, blockSize, random, 0.1f);
    const auto out = processed (processor, quiet);
    EXPECT_NEAR (out.getSample (0, 3),
                 ((quiet.getSample (0, 3) + quiet.getSample (0, 3)) + quiet.getSample (0, 3)) * factor, tolerance);
}

TEST_F (BlockProcessingTest, MonoPathCarriesProcessingChannelOneWhileSoloIsOn)
{
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));

    auto s = distinctBands().mode (false, false, true, false, false);
    s.gain = 2.5f;
    s.phase = true;
    s.gainL = -40.0f; // the stereo gains play no part
    start (s);

    for (int block = 0; block < 3; ++block)
    {
        const auto input = noiseBlock (1, blockSize, random);
        const auto out = processed (processor, input);
        const auto terms = reference->run (input, settings);
        auto expected = terms.p1[0];
        for (auto& sample : expected)
            sample *= outputFactor (2.5f, true, compensation());
        EXPECT_LT (maxDifference (out, 0, expected), tolerance);
    }

    s.solo = false;
    change (s);
    const auto input = noiseBlock (1, blockSize, random);
    EXPECT_EQ (processed (processor, input).getMagnitude (0, blockSize), 0.0f);
}

TEST_F (BlockProcessingTest, BypassReturnsTheBlockUntouchedAndRestoresTheControlWord)
{
    auto s = distinctBands();
    start (s);
    setPlainValue (processor, "bypass", 1.0f);

    auto input = noiseBlock (2, blockSize, random);
    input.setSample (0, 3, std::numeric_limits<float>::quiet_NaN());
    input.setSample (1, 5, 1.0e-41f);

    const unsigned int before = _mm_getcsr();
    ASSERT_EQ (before & 0x8040u, 0u);
    const auto out = processed (processor, input);
    EXPECT_EQ (_mm_getcsr(), before);

    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (std::memcmp (out.getReadPointer (ch), input.getReadPointer (ch), sizeof (float) * blockSize), 0);
}

TEST_F (BlockProcessingTest, DenormalsAreFlushedInsideTheBlockAndTheControlWordComesBack)
{
    ChainSettings s;
    for (auto& channel : s.bands)
        for (auto& band : channel)
            band.active = false;
    start (s);

    juce::AudioBuffer<float> input (2, 64);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 64; ++i)
            input.setSample (ch, i, 1.0e-39f);

    const unsigned int before = _mm_getcsr();
    const auto out = processed (processor, input);
    EXPECT_EQ (_mm_getcsr(), before);
    EXPECT_EQ (out.getMagnitude (0, 64), 0.0f);
}

TEST_F (BlockProcessingTest, AZeroSampleBlockPassesAndOutputsBeyondTheInputsAreCleared)
{
    juce::AudioProcessor::BusesLayout monoToStereo;
    monoToStereo.inputBuses.add (juce::AudioChannelSet::mono());
    monoToStereo.outputBuses.add (juce::AudioChannelSet::stereo());
    ASSERT_TRUE (processor.setBusesLayout (monoToStereo));
    start (distinctBands());

    juce::AudioBuffer<float> empty (2, 0);
    const auto out = processed (processor, empty);
    EXPECT_EQ (out.getNumSamples(), 0);

    // With bypass on, the output channel beyond the one input still comes out silent.
    setPlainValue (processor, "bypass", 1.0f);
    const auto input = noiseBlock (2, 64, random);
    const auto bypassed = processed (processor, input);
    EXPECT_EQ (bypassed.getMagnitude (1, 0, 64), 0.0f);
    EXPECT_EQ (bypassed.getSample (0, 9), input.getSample (0, 9));
}

TEST_F (BlockProcessingTest, NonFiniteInputCountsAsSilenceInEveryChannelMode)
{
    start (distinctBands());
    TemporaryUserFolder otherFolder;
    ConvolutionEqAudioProcessor clean;
    settings.applyTo (clean);
    prepare (clean, rate, blockSize);

    const float special[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity() };

    for (const auto& row : routingRows)
    {
        SCOPED_TRACE (row.name);
        const auto s = withRouting (settings, row);
        s.applyTo (processor);
        s.applyTo (clean);

        auto input = noiseBlock (2, blockSize, random);
        auto zeroed = input;
        for (int k = 0; k < 3; ++k)
        {
            input.setSample (k % 2, 10 + 10 * k, special[k]);
            zeroed.setSample (k % 2, 10 + 10 * k, 0.0f);
        }

        const auto out = processed (processor, input);
        const auto expected = processed (clean, zeroed);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < blockSize; ++i)
            {
                ASSERT_TRUE (std::isfinite (out.getSample (ch, i)));
                ASSERT_EQ (out.getSample (ch, i), expected.getSample (ch, i)) << ch << ", " << i;
            }
    }
}

TEST_F (BlockProcessingTest, NonFiniteInputOnTheMonoPath)
{
    juce::AudioProcessor::BusesLayout mono;
    mono.inputBuses.add (juce::AudioChannelSet::mono());
    mono.outputBuses.add (juce::AudioChannelSet::mono());
    ASSERT_TRUE (processor.setBusesLayout (mono));
    start (distinctBands());

    auto input = noiseBlock (1, blockSize, random);
    input.setSample (0, 10, std::numeric_limits<float>::quiet_NaN());
    input.setSample (0, 20, std::numeric_limits<float>::infinity());
    const auto out = processed (processor, input);

    input.setSample (0, 10, 0.0f);
    input.setSample (0, 20, 0.0f);
    auto expected = reference->run (input, settings).p1[0];
    for (auto& sample : expected)
        sample *= outputFactor (0.0f, false, compensation());
    EXPECT_LT (maxDifference (out, 0, expected), tolerance);
}

TEST_F (BlockProcessingTest, HugeFiniteInputNeverLeavesAsNonFinite)
{
    auto s = distinctBands().mode (false, false, true, false, false);
    s.link = false;
    start (s);

    juce::AudioBuffer<float> input (2, blockSize);
    input.clear();
    input.setSample (0, 5, 3.0e38f);
    input.setSample (1, 5, 3.0e38f);
    const auto out = processed (processor, input);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < blockSize; ++i)
            ASSERT_TRUE (std::isfinite (out.getSample (ch, i))) << ch << ", " << i;
}
