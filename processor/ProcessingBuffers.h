#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <limits>

/** The working buffers of block processing, made at preparation so that no block allocates. Two
    channels each: the stereo path needs both, the mono path only the first. A block longer than
    the capacity is processed in segments. */
struct ProcessingBuffers
{
    static constexpr int numChannels = 2;

    explicit ProcessingBuffers (int capacityInSamples)
        : capacity (juce::jmax (1, capacityInSamples))
        , encoded (numChannels, capacity)
        , work (numChannels, capacity)
        , scratch (numChannels, capacity)
        , sums{ juce::AudioBuffer<float> (numChannels, capacity), juce::AudioBuffer<float> (numChannels, capacity) }
    {
    }

    const int capacity;

    /** The pair of signals both processing channels receive (mid/side, left/right or plain stereo). */
    juce::AudioBuffer<float> encoded;

    /** One band at a time: a copy of the encoded pair that the band convolves in place, and the copy
        its convolver may run a new response on while that response warms up. */
    juce::AudioBuffer<float> work, scratch;

    /** The band sums of processing channels 1 and 2. */
    juce::AudioBuffer<float> sums[2];

    /** Each band's last level in dB and its linear factor, [processing channel - 1][band - 1]. NaN
        compares unequal to every level, so the first block computes them all. */
    struct BandFactor
    {
        float gainDb = std::numeric_limits<float>::quiet_NaN();
        float trimDb = std::numeric_limits<float>::quiet_NaN();
        float factor = 0.0f;
    };
    BandFactor bandFactors[2][3];

    /** The same for the output gains: the mono gain or the left one, and the right one. */
    struct OutputFactor
    {
        float gainDb = std::numeric_limits<float>::quiet_NaN();
        bool invert = false;
        float compensationDb = std::numeric_limits<float>::quiet_NaN();
        float factor = 0.0f;
    };
    OutputFactor outputFactors[2];
};
