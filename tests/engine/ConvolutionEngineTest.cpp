#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <tuple>

#include "ConvolutionEngine.h"
#include "EngineTestHelpers.h"

using namespace enginetest;

namespace
{
struct Layout
{
    int offset;
    int length;
    int fftSize;
};

std::vector<Layout> layoutOf (int impulseLength)
{
    ImpulseBuffer impulse = makeImpulse ({ Signal ((size_t) impulseLength, 0.5f) });
    ConvolutionEngine engine;
    engine.setImpulse (impulse);
    std::vector<Layout> layout;
    for (int i = 0; i < engine.numStages(); ++i)
        layout.push_back ({ engine.stage (i)->offset, engine.stage (i)->impulseLength, engine.stage (i)->fftSize });
    return layout;
}

bool operator== (const Layout& a, const Layout& b)
{
    return a.offset == b.offset && a.length == b.length && a.fftSize == b.fftSize;
}

std::ostream& operator<< (std::ostream& os, const Layout& l)
{
    return os << "{" << l.offset << ", " << l.length << ", " << l.fftSize << "}";
}

// Inputs and references are shared by all block patterns of one impulse.
struct Case
{
    int impulseLength;
    int impulseChannels;
    int inputChannels;
};

int inputLengthFor (int impulseLength)
{
    // Long enough to reach every stage; the long impulse stops shortly after its last stage starts.
    return impulseLength >= 100000 ? 18000 : std::min (impulseLength + 2500, 8000);
}

const Signal& inputChannel (int c, int length)
{
    static std::map<std::pair<int, int>, Signal> cache;
    auto& s = cache[{ c, length }];
    if (s.empty())
        s = randomSignal (length, 11u + (unsigned) c);
    return s;
}

const Signal& impulseChannel (int c, int length)
{
    static std::map<std::pair<int, int>, Signal> cache;
    auto& s = cache[{ c, length }];
    if (s.empty())
        s = randomSignal (length, 101u + (unsigned) c, 1.0f / std::sqrt ((float) length));
    return s;
}

const std::vector<double>& referenceFor (int inputCh, int impulseCh, int impulseLength)
{
    static std::map<std::tuple<int, int, int>, std::vector<double>> cache;
    auto& r = cache[{ inputCh, impulseCh, impulseLength }];
    if (r.empty())
    {
        const int length = inputLengthFor (impulseLength);
        r = directConvolution (inputChannel (inputCh, length), impulseChannel (impulseCh, impulseLength), length);
    }
    return r;
}

class EngineAgainstDirectConvolution : public ::testing::TestWithParam<Case>
{
};
} // namespace

TEST (ConvolutionEngine, StageChainFollowsTheImpulseLength)
{
    EXPECT_EQ (layoutOf (100), (std::vector<Layout>{ { 0, 100, 0 } }));
    EXPECT_EQ (layoutOf (128), (std::vector<Layout>{ { 0, 128, 0 } }));
    EXPECT_EQ (layoutOf (129), (std::vector<Layout>{ { 0, 64, 0 }, { 64, 65, 128 } }));
    EXPECT_EQ (layoutOf (1000), (std::vector<Layout>{ { 0, 64, 0 }, { 64, 192, 128 }, { 256, 744, 512 } }));
    EXPECT_EQ (layoutOf (100000), (std::vector<Layout>{ { 0, 64, 0 },
                                                        { 64, 192, 128 },
                                                        { 256, 768, 512 },
                                                        { 1024, 3072, 2048 },
                                                        { 4096, 12288, 8192 },
                                                        { 16384, 83616, 32768 } }));
    EXPECT_EQ (layoutOf (0), (std::vector<Layout>{ { 0, 0, 0 } }));
}

TEST_P (EngineAgainstDirectConvolution, EveryBlockPatternMatches)
{
    const Case c = GetParam();
    const int length = inputLengthFor (c.impulseLength);

    std::vector<Signal> impulseChannels;
    for (int ch = 0; ch < c.impulseChannels; ++ch)
        impulseChannels.push_back (impulseChannel (ch, c.impulseLength));
    const ImpulseBuffer impulse = makeImpulse (impulseChannels);

    std::vector<Signal> input;
    for (int ch = 0; ch < c.inputChannels; ++ch)
        input.push_back (inputChannel (ch, length));

    std::mt19937 rng (7);
    std::uniform_int_distribution<int> randomSize (1, 3000);
    const std::vector<std::pair<const char*, std::function<int()>>> patterns = {
        { "1", [] { return 1; } },
        { "63", [] { return 63; } },
        { "64", [] { return 64; } },
        { "100", [] { return 100; } },
        { "1024", [] { return 1024; } },
        { "4096", [] { return 4096; } },
        { "random", [&] { return randomSize (rng); } },
    };

    for (const auto& [name, next] : patterns)
    {
        ConvolutionEngine engine;
        EXPECT_EQ (engine.setImpulse (impulse), 0);
        bool alwaysReady = false;
        const auto output = runEngine (engine, input, next, &alwaysReady);
        EXPECT_TRUE (alwaysReady) << "blocks of " << name;
        for (int ch = 0; ch < c.inputChannels; ++ch)
        {
            const int impulseCh = c.impulseChannels == 2 ? ch : 0;
            const auto& reference = referenceFor (ch, impulseCh, c.impulseLength);
            EXPECT_LT (relativeError (output[(size_t) ch], reference), 2e-5)
                << "blocks of " << name << ", channel " << ch;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (ImpulseLengthsAndChannels, EngineAgainstDirectConvolution,
                          ::testing::ValuesIn (
                              []
                              {
                                  std::vector<Case> cases;
                                  for (int length : { 1, 64, 65, 100, 1000, 5000, 100000 })
                                      for (int impulseChannels : { 1, 2 })
                                          for (int inputChannels : { 1, 2 })
                                              cases.push_back ({ length, impulseChannels, inputChannels });
                                  return cases;
                              }()),
                          [] (const ::testing::TestParamInfo<Case>& testCase)
                          {
                              const Case& c = testCase.param;
                              return "taps" + std::to_string (c.impulseLength) + "_impulse" +
                                     std::to_string (c.impulseChannels) + "ch_input" +
                                     std::to_string (c.inputChannels) + "ch";
                          });

TEST (ConvolutionEngine, UnitImpulseReproducesTheInputInTheSameCall)
{
    const ImpulseBuffer impulse = makeImpulse ({ Signal{ 1.0f } });
    const Signal x = randomSignal (3000, 5);
    for (int block : { 1, 7, 64, 1000 })
    {
        ConvolutionEngine engine;
        engine.setImpulse (impulse);
        bool alwaysReady = false;
        const auto out = runEngine (
            engine, { x }, [=] { return block; }, &alwaysReady);
        EXPECT_TRUE (alwaysReady);
        EXPECT_EQ (out[0], x) << "block " << block;
    }
}

TEST (ConvolutionEngine, DelayImpulseDelaysExactly)
{
    Signal h (5001, 0.0f);
    h[5000] = 1.0f;
    const ImpulseBuffer impulse = makeImpulse ({ h });
    const Signal x = randomSignal (12000, 9);
    for (int block : { 1, 64, 100, 4096 })
    {
        ConvolutionEngine engine;
        engine.setImpulse (impulse);
        bool alwaysReady = false;
        const auto out = runEngine (
            engine, { x }, [=] { return block; }, &alwaysReady);
        EXPECT_TRUE (alwaysReady);
        ASSERT_EQ (out[0].size(), x.size());
        double worst = 0.0;
        for (size_t i = 0; i < x.size(); ++i)
            worst = std::max (worst, std::fabs (out[0][i] - (i < 5000 ? 0.0 : x[i - 5000])));
        EXPECT_LT (worst, 1e-5) << "block " << block;
    }
}

TEST (ConvolutionEngine, TwoChannelsAgainstAMonoImpulseAreIndependent)
{
    const Signal h = randomSignal (3000, 21, 0.05f);
    const ImpulseBuffer impulse = makeImpulse ({ h });
    const Signal left = randomSignal (6000, 22);
    Signal right (6000, 0.0f);
    ConvolutionEngine engine;
    engine.setImpulse (impulse);
    const auto out = runEngine (engine, { left, right }, [] { return 256; });
    EXPECT_LT (relativeError (out[0], directConvolution (left, h, 6000)), 2e-5);
    for (float v : out[1])
        ASSERT_EQ (v, 0.0f);
}

TEST (ConvolutionEngine, IdenticalInputChannelsThroughATwoChannelImpulse)
{
    // Equal input channels let one spectrum serve both; the result must not change, also when one
    // channel was silent while the other was not just before they became equal.
    const int taps = 6000;
    const Signal h0 = randomSignal (taps, 31, 0.02f), h1 = randomSignal (taps, 32, 0.02f);
    const ImpulseBuffer impulse = makeImpulse ({ h0, h1 });
    const int length = 12000;
    Signal a = randomSignal (length, 33);
    Signal b = a;
    // Only the second channel plays for exactly one block of the last stage (input blocks of 1024
    // from sample 0), so that stage sees silent, then equal blocks again.
    for (int i = 2048; i < 3072; ++i)
        a[(size_t) i] = 0.0f;
    for (int block : { 64, 300, 4096 })
    {
        ConvolutionEngine engine;
        engine.setImpulse (impulse);
        const auto out = runEngine (engine, { a, b }, [=] { return block; });
        EXPECT_LT (relativeError (out[0], directConvolution (a, h0, length)), 2e-5) << block;
        EXPECT_LT (relativeError (out[1], directConvolution (b, h1, length)), 2e-5) << block;
    }
}

TEST (ConvolutionEngine, NewImpulseLeavesNoTraceOfEarlierInput)
{
    const ImpulseBuffer first = makeImpulse ({ randomSignal (3000, 41, 0.05f) });
    const ImpulseBuffer second = makeImpulse ({ randomSignal (2000, 42, 0.05f), randomSignal (2000, 43, 0.05f) });
    const Signal before = randomSignal (5000, 44), after = randomSignal (6000, 45);

    ConvolutionEngine reused;
    reused.setImpulse (first);
    runEngine (reused, { before, before }, [] { return 128; });
    reused.setImpulse (second);
    const auto out = runEngine (reused, { after, after }, [] { return 128; });

    ConvolutionEngine fresh;
    fresh.setImpulse (second);
    const auto expected = runEngine (fresh, { after, after }, [] { return 128; });
    EXPECT_EQ (out, expected);
}

TEST (ConvolutionEngine, NonFiniteInputIsConvolvedAsZero)
{
    const Signal h = randomSignal (1000, 51, 0.05f);
    const ImpulseBuffer impulse = makeImpulse ({ h });
    Signal x = randomSignal (4000, 52);
    Signal cleaned = x;
    x[10] = std::numeric_limits<float>::quiet_NaN();
    x[20] = std::numeric_limits<float>::infinity();
    cleaned[10] = cleaned[20] = 0.0f;

    for (int block : { 1, 64, 512 })
    {
        ConvolutionEngine engine;
        engine.setImpulse (impulse);
        const auto out = runEngine (engine, { x }, [=] { return block; });
        for (float v : out[0])
            ASSERT_TRUE (std::isfinite (v));
        EXPECT_LT (relativeError (out[0], directConvolution (cleaned, h, 4000)), 2e-5);

        ConvolutionEngine clean;
        clean.setImpulse (impulse);
        EXPECT_EQ (out, runEngine (clean, { cleaned }, [=] { return block; }));
    }
}

TEST (ConvolutionEngine, ChannelCountChangeKeepsChannelsAligned)
{
    const Signal h = randomSignal (700, 61, 0.05f);
    const ImpulseBuffer impulse = makeImpulse ({ h });
    const Signal x = randomSignal (2048, 62);
    const Signal y = randomSignal (2048, 63);
    for (int block : { 256, 100 })
    {
        ConvolutionEngine engine;
        engine.setImpulse (impulse);
        bool alwaysReady = false;
        runEngine (
            engine, { x }, [=] { return block; }, &alwaysReady);
        EXPECT_TRUE (alwaysReady);

        // channel 1 starts from silence at the switch, in step with channel 0
        const auto out = runEngine (
            engine, { x, y }, [=] { return block; }, &alwaysReady);
        EXPECT_TRUE (alwaysReady) << block;
        EXPECT_LT (relativeError (out[1], directConvolution (y, h, 2048)), 2e-5) << block;
    }
}

TEST (ConvolutionEngine, AddWithoutChannelsChangesNothing)
{
    const Signal h = randomSignal (3000, 65, 0.05f);
    const ImpulseBuffer impulse = makeImpulse ({ h });
    const Signal x = randomSignal (4096, 66);
    ConvolutionEngine engine, reference;
    engine.setImpulse (impulse);
    reference.setImpulse (impulse);
    const float* in[] = { x.data() };

    // before the first block as well as between blocks
    for (int pos = 0; pos < 4096; pos += 512)
    {
        const int channelsBefore = engine.numChannels;
        engine.add (in, 512, 0);
        EXPECT_EQ (engine.numChannels, channelsBefore);
        const float* block[] = { x.data() + pos };
        engine.add (block, 512, 1);
        reference.add (block, 512, 1);
        ASSERT_EQ (engine.avail (512), reference.avail (512));
        ASSERT_EQ (engine.outputQueues[0].queuedFloats(), 512);
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ (engine.outputQueues[0].frontFloats()[i], reference.outputQueues[0].frontFloats()[i]) << pos + i;
        engine.outputQueues[0].consumeFloats (512);
        reference.outputQueues[0].consumeFloats (512);
    }
}

TEST (ConvolutionEngine, NonFiniteImpulseValuesAreStoredAsZeroInEveryStage)
{
    Signal h = randomSignal (3000, 71, 0.05f);
    h[3] = std::numeric_limits<float>::infinity();     // direct stage
    h[2000] = std::numeric_limits<float>::quiet_NaN(); // an FFT stage
    Signal cleaned = h;
    cleaned[3] = cleaned[2000] = 0.0f;
    ConvolutionEngine engine;
    engine.setImpulse (makeImpulse ({ h }));
    const Signal x = randomSignal (5000, 72);
    const auto out = runEngine (engine, { x }, [] { return 128; });
    EXPECT_LT (relativeError (out[0], directConvolution (x, cleaned, 5000)), 2e-5);
}

// A channel that is not heard for a while sounds, once heard again, exactly as if it had been heard
// all along, for any block lengths and any pattern of heard and unheard blocks.
TEST (ConvolutionEngine, UnheardChannelsSoundTheSameOnceHeardAgain)
{
    for (int impulseLength : { 40, 64, 1000, 5000 })
    {
        SCOPED_TRACE (impulseLength);
        const ImpulseBuffer impulse = makeImpulse ({ randomSignal (impulseLength, 3, 0.3f) });
        const std::vector<Signal> input{ randomSignal (12000, 8), randomSignal (12000, 9) };

        ConvolutionEngine always, sometimes;
        always.setImpulse (impulse);
        sometimes.setImpulse (impulse);
        std::mt19937 rng (21);
        for (int pos = 0; pos < (int) input[0].size();)
        {
            const int n = std::min ((int) (rng() % 700) + 1, (int) input[0].size() - pos);
            const bool heard[2] = { rng() % 3 != 0, rng() % 2 != 0 };
            sometimes.setHeardChannels (heard[0], heard[1]);
            const float* in[2] = { input[0].data() + pos, input[1].data() + pos };
            for (auto* engine : { &always, &sometimes })
            {
                engine->add (in, n, 2);
                ASSERT_EQ (engine->avail (n), n);
            }
            for (int c = 0; c < 2; ++c)
            {
                if (heard[c])
                {
                    ASSERT_EQ (std::memcmp (always.outputQueues[c].frontFloats(),
                                            sometimes.outputQueues[c].frontFloats(), (size_t) n * sizeof (float)),
                               0)
                        << "channel " << c << " at " << pos;
                }
                always.outputQueues[c].consumeFloats (n);
                sometimes.outputQueues[c].consumeFloats (n);
            }
            pos += n;
        }
    }
}
