#pragma once

#include "ConvolutionStage.h"
#include "HeapBuffer.h"
#include "ImpulseBuffer.h"
#include "SampleQueue.h"

/** Zero-latency partitioned convolution of one or two channels with an impulse of any length.
    The first 64 samples of the impulse are convolved directly; later segments by FFT stages whose
    partitions grow fourfold from stage to stage. Each stage's output is delayed by its offset in
    the impulse and the outputs are summed. */
class ConvolutionEngine
{
public:
    ConvolutionEngine() = default;
    ~ConvolutionEngine();

    ConvolutionEngine (const ConvolutionEngine&) = delete;
    ConvolutionEngine& operator= (const ConvolutionEngine&) = delete;

    /** Replaces all stages by a chain for this impulse; the convolution restarts from silence.
        Returns the latency, always 0. */
    int setImpulse (const ImpulseBuffer& impulse);

    /** Feeds n samples of each of channelCount channels (more than 2 count as 2) to every stage.
        Does nothing when channelCount is below 1. */
    void add (const float* const* channels, int n, int channelCount);

    /** Makes up to want output samples ready; returns the smallest count ready over the channels in
        use, at most want, or 0 when there are no stages (a load that ran out of memory). Take them
        from the front of outputQueues and consume them. */
    int avail (int want);

    /** Deletes all stages. */
    void clear();

    int numStages() const noexcept { return stages.size / (int) sizeof (ConvolutionStage*); }
    ConvolutionStage* stage (int i) const noexcept { return stages.as<ConvolutionStage*>()[i]; }

    HeapBuffer stages;
    SampleQueue outputQueues[2];
    float* outputPointers[2] = { nullptr, nullptr };
    int32_t numChannels = 2;
    bool firstAdd = true;
};
