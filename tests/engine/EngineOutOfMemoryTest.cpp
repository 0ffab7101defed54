#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "AllocationCounter.h"
#include "ConvolutionStage.h"
#include "EngineSlot.h"
#include "EngineTestHelpers.h"

using namespace enginetest;

TEST (EngineOutOfMemory, DirectStageReportsOnlyWhatEveryChannelHolds)
{
    const ImpulseBuffer impulse = makeImpulse ({ randomSignal (64, 1, 0.1f) });
    ConvolutionStage stage;
    stage.setImpulse (impulse, 64, 0, 0, true);
    const Signal x = randomSignal (256, 2);
    const float* in[] = { x.data(), x.data() };
    stage.add (in, 256, 1);
    stage.advance (256);

    // channel 0 reuses its memory, the new channel 1 cannot get any
    {
        ScopedAllocationFailure noMemory;
        stage.add (in, 256, 2);
    }
    ASSERT_EQ (stage.outputQueues[0].queuedFloats(), 256);
    EXPECT_EQ (stage.outputQueues[1].queuedFloats(), 0);
    EXPECT_EQ (stage.avail (256), 0);
}

TEST (EngineOutOfMemory, DirectStageQueuesNoOutputItCouldNotCompute)
{
    const ImpulseBuffer impulse = makeImpulse ({ randomSignal (64, 1, 0.1f) });
    ConvolutionStage stage;
    stage.setImpulse (impulse, 64, 0, 0, true);
    const Signal x = randomSignal (1024, 2);
    const float* in[] = { x.data() };
    stage.add (in, 1024, 1);
    stage.advance (1024);

    // a longer block needs a longer widened history, which cannot be had: nothing may be queued
    const Signal silence (1500, 0.0f);
    const float* quiet[] = { silence.data() };
    {
        ScopedAllocationFailure noMemory;
        stage.add (quiet, 1500, 1);
    }
    const int queued = stage.outputQueues[0].queuedFloats();
    EXPECT_TRUE (queued == 0 || queued == 1500) << queued;
    for (int i = 100; i < queued; ++i)
        ASSERT_EQ (stage.outputQueues[0].frontFloats()[i], 0.0f) << i;
}

TEST (EngineOutOfMemory, ChannelChangesWithoutMemoryReadOnlyQueuedSamples)
{
    // Channel counts switching while allocations fail: no queue may be read past its end
    // (AddressSanitizer sees that), and the blocks stay finite.
    const int taps = 16560;
    juce::AudioBuffer<float> source (2, taps);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < taps; ++i)
            source.setSample (c, i, 0.01f * std::sin ((float) (i * (c + 3))));
    EngineSlot slot (&source);

    struct Step
    {
        int n, channels;
        bool noMemory;
    };
    const Step steps[] = { { 2192, 1, false }, { 1717, 2, false }, { 2708, 2, true }, { 1596, 2, true },
                           { 1062, 1, false }, { 4039, 1, false }, { 3275, 2, true }, { 1470, 2, false },
                           { 1765, 1, false }, { 4008, 1, false }, { 2423, 2, true } };
    for (const auto& step : steps)
    {
        Signal a (8192, 0.25f), b (8192, -0.5f);
        float* channels[] = { a.data(), b.data() };
        std::optional<ScopedAllocationFailure> failure;
        if (step.noMemory)
            failure.emplace();
        slot.process (channels, step.channels, step.n);
        failure.reset();
        for (int i = 0; i < step.n; ++i)
            ASSERT_TRUE (std::isfinite (a[(size_t) i]) && std::isfinite (b[(size_t) i]));
    }
}

TEST (EngineOutOfMemory, FailedLoadPassesBlocksDry)
{
    juce::AudioBuffer<float> source (1, 3000);
    for (int i = 0; i < 3000; ++i)
        source.setSample (0, i, 0.01f * (float) ((i * 31) % 7));
    EngineSlot slot (&source);
    {
        ScopedAllocationFailure noMemory;
        slot.load (source);
    }
    ASSERT_EQ (slot.engine->numStages(), 0);

    Signal x (512, 0.5f);
    float* channels[] = { x.data() };
    for (int i = 0; i < 3; ++i)
    {
        slot.process (channels, 1, 512);
        ASSERT_EQ (x, Signal (512, 0.5f)) << "block " << i;
    }
}

TEST (EngineOutOfMemory, ChannelWithoutRoomForItsSumDropsTheBlockOnEveryChannel)
{
    const ImpulseBuffer impulse = makeImpulse ({ randomSignal (3000, 81, 0.05f) });
    const Signal left = randomSignal (256 * 20, 82), right = randomSignal (256 * 20, 83);
    ConvolutionEngine engine, reference;
    engine.setImpulse (impulse);
    reference.setImpulse (impulse);

    const auto feed = [&] (ConvolutionEngine& e, int block)
    {
        const float* in[] = { left.data() + block * 256, right.data() + block * 256 };
        e.add (in, 256, 2);
        return e.avail (256);
    };
    const auto take = [] (ConvolutionEngine& e, int ch)
    {
        Signal out (e.outputQueues[ch].frontFloats(), e.outputQueues[ch].frontFloats() + 256);
        e.outputQueues[ch].consumeFloats (256);
        return out;
    };

    for (int block = 0; block < 8; ++block)
    {
        ASSERT_EQ (feed (engine, block), 256);
        ASSERT_EQ (feed (reference, block), 256);
        for (int ch = 0; ch < 2; ++ch)
            take (engine, ch), take (reference, ch);
    }

    // channel 1's sum queue loses its memory; everything else is warmed up and needs none
    engine.outputQueues[1].data.resize (4);
    engine.outputQueues[1].data.resize (0, true);
    ASSERT_EQ (engine.outputQueues[1].data.buf, nullptr);
    {
        ScopedAllocationFailure noMemory;
        EXPECT_EQ (feed (engine, 8), 0);
    }
    feed (reference, 8);
    take (reference, 0), take (reference, 1);

    // the dropped block leaves both channels in step with an engine that lost nothing
    for (int block = 9; block < 20; ++block)
    {
        ASSERT_EQ (feed (engine, block), 256);
        feed (reference, block);
        for (int ch = 0; ch < 2; ++ch)
            ASSERT_EQ (take (engine, ch), take (reference, ch)) << "block " << block << ", channel " << ch;
    }
}
