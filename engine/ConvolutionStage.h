#pragma once

#include "BlockQueue.h"
#include "HeapBuffer.h"
#include "ImpulseBuffer.h"
#include "SampleQueue.h"

/** Convolves one or two input channels with one segment of an impulse response.
    Direct mode keeps the segment reversed and computes each output sample as a dot product over the
    input history, so output is ready in the call that delivers the input. FFT mode cuts the segment
    into partitions of half the FFT size, transforms each completed input block once, multiplies it
    against every partition through a ring of past input spectra and overlap-adds; its output
    arrives one block (half the FFT size) at a time. */
class ConvolutionStage
{
public:
    /** Takes the segment of at most maxLength samples (0: to the end) starting at offset. Call once,
        on a new stage. Returns the stage's latency: half the FFT size, or 0 in direct mode. */
    int setImpulse (const ImpulseBuffer& impulse, int requestedFftSize, int segmentOffset, int maxLength, bool direct);

    /** Queues n samples of each of numChannels channels (null channels: silence). Non-finite samples
        are queued as 0. In direct mode the output is computed here. */
    void add (const float* const* channels, int n, int numChannels);

    /** In FFT mode, processes queued input blocks until want samples are ready per channel or the
        input runs short. Returns the smallest ready count over the channels in use. */
    int avail (int want);

    /** Drops n ready samples of every channel in use. */
    void advance (int n);

    /** Sizes the queues and the history of every channel for adds of up to maximumBlock samples, with
        lead samples of silence fed ahead of the first, so that those adds and the calls that take their
        output allocate nothing once the first add has set up the channels. Call after setImpulse. */
    void reserveForBlocks (int maximumBlock, int lead);

    int partitions() const;
    bool isDirect() const noexcept { return fftSize < 1; }

    HeapBuffer impulseSpectra[2];
    HeapBuffer impulseMarks[2];
    int32_t impulseChannels = 1;
    int32_t fftSize = 0;
    int32_t impulseLength = 0;
    int32_t inputChannels = 0;
    SampleQueue outputQueues[2];
    SampleQueue historyQueues[2];
    BlockQueue inputBlocks[2];
    int32_t historyPos[2] = { 0, 0 };
    HeapBuffer inputSpectra[2];
    HeapBuffer inputMarks[2];
    HeapBuffer overlap[2];
    HeapBuffer scratch;
    float* outputPointers[2] = { nullptr, nullptr };
    int32_t offset = 0;
    int32_t pendingAdvance = 0;

    /** Direct mode: a channel whose output nobody hears keeps its history but queues silence instead
        of computing its dot products. Only a block whose output queue was empty is skipped, so every
        output sample taken while the channel is heard was computed. */
    bool outputHeard[2] = { true, true };

private:
    void addDirect (const float* const* channels, int n, int numChannels);
    void addBlocks (const float* const* channels, int n, int numChannels);
    void startChannels (int numChannels);
    bool hasRing (int ch) const;
    bool canShare (int ch, int pos, const float* block, const float* nextBlock) const;
    void processBlock (int ch, bool paired);
    int readyCount (int want) const;

    HeapBuffer wideHistory; // direct mode: the history widened to double for the dot products
};
