#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ConvolutionStage.h"
#include "EngineTestHelpers.h"
#include "SplitRadixFft.h"

using namespace enginetest;

namespace
{
Signal takeOutput (ConvolutionStage& stage, int ch, int n)
{
    const float* front = stage.outputQueues[ch].frontFloats();
    Signal out (front, front + n);
    return out;
}
} // namespace

TEST (ConvolutionStage, DirectModeOutputIsReadyInTheSameAdd)
{
    const ImpulseBuffer impulse = makeImpulse ({ Signal{ 1.0f, 0.5f } });
    ConvolutionStage stage;
    EXPECT_EQ (stage.setImpulse (impulse, 64, 0, 0, true), 0);
    const float x[] = { 1.0f, 0.0f, 0.0f };
    const float* in[] = { x };
    stage.add (in, 3, 1);
    ASSERT_EQ (stage.avail (3), 3);
    EXPECT_EQ (takeOutput (stage, 0, 3), (Signal{ 1.0f, 0.5f, 0.0f }));
}

TEST (ConvolutionStage, DirectModeSampleBySampleEqualsOneBlock)
{
    const ImpulseBuffer impulse = makeImpulse ({ randomSignal (64, 3) });
    const Signal x = randomSignal (500, 4);
    ConvolutionStage whole, single;
    whole.setImpulse (impulse, 64, 0, 0, true);
    single.setImpulse (impulse, 64, 0, 0, true);
    const float* in[] = { x.data() };
    whole.add (in, 500, 1);
    for (int i = 0; i < 500; ++i)
    {
        const float* one[] = { x.data() + i };
        single.add (one, 1, 1);
    }
    ASSERT_EQ (whole.avail (500), 500);
    ASSERT_EQ (single.avail (500), 500);
    EXPECT_EQ (takeOutput (whole, 0, 500), takeOutput (single, 0, 500));
}

TEST (ConvolutionStage, FftModeDeliversWholeBlocks)
{
    const ImpulseBuffer impulse = makeImpulse ({ randomSignal (200, 5) });
    ConvolutionStage stage;
    EXPECT_EQ (stage.setImpulse (impulse, 128, 0, 0, false), 64);
    EXPECT_EQ (stage.partitions(), 4);
    const Signal x = randomSignal (64, 6);
    const float* first[] = { x.data() };
    stage.add (first, 63, 1);
    EXPECT_EQ (stage.avail (64), 0);
    const float* last[] = { x.data() + 63 };
    stage.add (last, 1, 1);
    EXPECT_EQ (stage.avail (64), 64);
}

TEST (ConvolutionStage, FftModeIdenticalChannelsMatchTwoMonoRuns)
{
    const ImpulseBuffer impulse = makeImpulse ({ randomSignal (300, 7, 0.1f) });
    const Signal x = randomSignal (1024, 8);
    ConvolutionStage stereo, mono;
    stereo.setImpulse (impulse, 128, 0, 0, false);
    mono.setImpulse (impulse, 128, 0, 0, false);
    const float* both[] = { x.data(), x.data() };
    const float* one[] = { x.data() };
    stereo.add (both, 1024, 2);
    mono.add (one, 1024, 1);
    ASSERT_EQ (stereo.avail (1024), 1024);
    ASSERT_EQ (mono.avail (1024), 1024);
    const Signal left = takeOutput (stereo, 0, 1024), right = takeOutput (stereo, 1, 1024);
    const Signal alone = takeOutput (mono, 0, 1024);
    for (int i = 0; i < 1024; ++i)
    {
        ASSERT_NEAR (left[(size_t) i], right[(size_t) i], 1e-6f) << i;
        ASSERT_NEAR (left[(size_t) i], alone[(size_t) i], 1e-6f) << i;
    }
    EXPECT_LT (relativeError (left, directConvolution (x, Signal (impulse.data (0), impulse.data (0) + 300), 1024)),
               1e-5);
}

TEST (ConvolutionStage, SilentPartitionsAndBlocksContributeNothing)
{
    Signal h (256, 0.0f);
    for (int i = 0; i < 64; ++i)
        h[(size_t) i] = 1e-16f; // below the silence threshold
    h[100] = 1.0f;
    const ImpulseBuffer impulse = makeImpulse ({ h });
    ConvolutionStage stage;
    stage.setImpulse (impulse, 128, 0, 0, false);
    const auto* marks = reinterpret_cast<const uint8_t*> (stage.impulseMarks[0].buf);
    EXPECT_EQ (marks[0], 0);
    EXPECT_EQ (marks[1], 2);
    EXPECT_EQ (marks[2], 0);
    EXPECT_EQ (marks[3], 0);

    // one loud block, then zeros: after the tail has passed the output is exactly zero
    Signal x (640, 0.0f);
    x[3] = 1.0f;
    const float* in[] = { x.data() };
    stage.add (in, 640, 1);
    ASSERT_EQ (stage.avail (640), 640);
    const Signal out = takeOutput (stage, 0, 640);
    EXPECT_NEAR (out[103], 1.0f, 1e-6f);
    for (int i = 192; i < 640; ++i)
        ASSERT_EQ (out[(size_t) i], 0.0f) << i;
}

TEST (ConvolutionStage, TwoIdenticalImpulseChannelsAreStoredAsOne)
{
    const Signal h = randomSignal (100, 9);
    ConvolutionStage stage;
    stage.setImpulse (makeImpulse ({ h, h }), 128, 0, 0, false);
    EXPECT_EQ (stage.impulseChannels, 1);
    Signal other = h;
    other[50] += 1.0f;
    ConvolutionStage distinct;
    distinct.setImpulse (makeImpulse ({ h, other }), 128, 0, 0, false);
    EXPECT_EQ (distinct.impulseChannels, 2);
}

TEST (ConvolutionStage, TinyAndInfiniteImpulseValuesAreStoredAsZero)
{
    Signal h (64, 0.0f);
    h[0] = 1e-30f;
    h[1] = std::numeric_limits<float>::infinity();
    h[2] = 1.0f;
    ConvolutionStage stage;
    stage.setImpulse (makeImpulse ({ h }), 128, 0, 0, false);

    // The stored spectrum is that of (0, 0, 1/128): undo the transform to check it.
    Signal spectrum (reinterpret_cast<const float*> ((reinterpret_cast<uintptr_t> (stage.impulseSpectra[0].buf) + 31) &
                                                     ~(uintptr_t) 31),
                     reinterpret_cast<const float*> ((reinterpret_cast<uintptr_t> (stage.impulseSpectra[0].buf) + 31) &
                                                     ~(uintptr_t) 31) +
                         256);
    fftDispatch (spectrum.data(), 128, 1);
    for (int j = 0; j < 128; ++j)
    {
        ASSERT_TRUE (std::isfinite (spectrum[(size_t) 2 * j]));
        EXPECT_NEAR (spectrum[(size_t) 2 * j], j == 2 ? 1.0f : 0.0f, 1e-6f) << j;
    }
}
