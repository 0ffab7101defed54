#include <gtest/gtest.h>

#include "EngineSlot.h"
#include "EngineTestHelpers.h"

using namespace enginetest;

namespace
{
juce::AudioBuffer<float> bufferOf (const Signal& samples)
{
    juce::AudioBuffer<float> b (1, (int) samples.size());
    for (int i = 0; i < (int) samples.size(); ++i)
        b.setSample (0, i, samples[(size_t) i]);
    return b;
}
} // namespace

TEST (EngineSlot, StartsLoadingAndInactive)
{
    const auto source = bufferOf ({ 1.0f });
    EngineSlot slot (&source);
    EXPECT_TRUE (slot.loading);
    EXPECT_FALSE (slot.active);
    EXPECT_FALSE (slot.handover);
    EXPECT_EQ (slot.blockCounter, 0);
    EXPECT_EQ (slot.source, &source);
    EXPECT_EQ (slot.buffer.getNumChannels(), 1);
    EXPECT_EQ (slot.buffer.getNumSamples(), 1);
}

TEST (EngineSlot, ZeroImpulseSilencesAndUnitImpulsePassesEveryBlock)
{
    const auto zero = bufferOf ({ 0.0f });
    const auto unit = bufferOf ({ 1.0f });
    EngineSlot silent (&zero), identity (&unit);
    for (int n : { 1, 64, 333 })
    {
        Signal left = randomSignal (n, (unsigned) n), right = randomSignal (n, (unsigned) n + 1);
        const Signal originalLeft = left, originalRight = right;
        float* channels[] = { left.data(), right.data() };
        identity.process (channels, 2, n);
        EXPECT_EQ (left, originalLeft);
        EXPECT_EQ (right, originalRight);
        silent.process (channels, 2, n);
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE (left[(size_t) i] == 0.0f && right[(size_t) i] == 0.0f);
    }
}

TEST (EngineSlot, NullChannelsChangeNothingAndFeedNothing)
{
    const auto source = bufferOf (randomSignal (300, 3));
    EngineSlot slot (&source), reference (&source);
    slot.process (nullptr, 2, 64);
    EXPECT_TRUE (slot.engine->firstAdd);

    Signal a = randomSignal (128, 4), b = a;
    float* ca[] = { a.data() };
    float* cb[] = { b.data() };
    slot.process (ca, 1, 128);
    reference.process (cb, 1, 128);
    EXPECT_EQ (a, b);
}

TEST (EngineSlot, ConvolvesInPlaceAndReloadRestartsFromSilence)
{
    const Signal h = randomSignal (2000, 5, 0.05f);
    const auto source = bufferOf (h);
    EngineSlot slot (&source);
    const Signal x = randomSignal (4096, 6);
    Signal block = x;
    for (int pos = 0; pos < 4096; pos += 512)
    {
        float* ch[] = { block.data() + pos };
        slot.process (ch, 1, 512);
    }
    EXPECT_LT (relativeError (block, directConvolution (x, h, 4096)), 2e-5);

    slot.loading = false;
    slot.load (source);
    EXPECT_TRUE (slot.loading);
    Signal again = x;
    for (int pos = 0; pos < 4096; pos += 512)
    {
        float* ch[] = { again.data() + pos };
        slot.process (ch, 1, 512);
    }
    EXPECT_EQ (again, block);
}

TEST (EngineSlot, CopyChannelsCopiesEveryChannelAndIgnoresEmptyRequests)
{
    Signal a{ 1, 2, 3 }, b{ 4, 5, 6 }, c (3, 0.0f), d (3, 0.0f);
    const float* src[] = { a.data(), b.data() };
    float* dst[] = { c.data(), d.data() };
    copyChannels (src, dst, 2, 3);
    EXPECT_EQ (c, a);
    EXPECT_EQ (d, b);
    Signal e (3, 9.0f);
    float* dst2[] = { e.data() };
    copyChannels (src, dst2, 0, 3);
    copyChannels (src, dst2, 1, 0);
    EXPECT_EQ (e, Signal (3, 9.0f));
}
