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

    /** Tells the engine which output channels are heard from the next add on (both, by default).
        The direct stage skips its dot products for an unheard channel and queues silence there; the
        other stages, whose state depends on their output, run as before. Output taken while a channel
        is heard is the same whether it was unheard before or not. */
    void setHeardChannels (bool first, bool second) noexcept
    {
        heard[0] = first;
        heard[1] = second;
    }

    /** Deletes all stages. */
    void clear();

    /** Sizes the buffers and queues that a block of up to n samples needs, now and after every later
        setImpulse, so that once the first block after a load has run no such block allocates.
        0 (the default) sizes nothing ahead: buffers then grow as blocks need them. Sizing only; the
        output is the same either way. */
    void setMaximumBlockSize (int n);

    int numStages() const noexcept { return stages.size / (int) sizeof (ConvolutionStage*); }
    ConvolutionStage* stage (int i) const noexcept { return stages.as<ConvolutionStage*>()[i]; }

    HeapBuffer stages;
    SampleQueue outputQueues[2];
    float* outputPointers[2] = { nullptr, nullptr };
    int32_t numChannels = 2;
    bool firstAdd = true;
    int32_t maximumBlockSize = 0;
    bool heard[2] = { true, true };

private:
    int leadIn (int stageIndex) const;
    void sumStages (float* sum, int ch, int n) const;
    static void addTerms (float* sum, const float* const* terms, int count, int n, bool continuing);
    void reserveForMaximumBlock();
};
