#pragma once

#include "HeapBuffer.h"

/** An impulse response of one or two channels of 32-bit floats, all channels of one length. */
class ImpulseBuffer
{
public:
    /** Resizes every channel in use to n samples, zeroing what growth adds. If a channel cannot
        reach n samples, both channels are freed. Returns the new length of channel 0. */
    int32_t setLength (int32_t n);

    /** Copies n samples of each of numChannels channels (clamped to 1 ... 2). */
    void set (const float* const* samples, int32_t n, int32_t channelCount);

    int32_t length (int c = 0) const noexcept { return channel[c].size / 4; }
    const float* data (int c) const noexcept { return channel[c].as<float>(); }

    double sampleRate = 44100.0;
    HeapBuffer channel[2];
    int32_t numChannels = 1;
};
