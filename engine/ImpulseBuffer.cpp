#include "ImpulseBuffer.h"

#include <algorithm>
#include <cstring>

int32_t ImpulseBuffer::setLength (int32_t n)
{
    n = std::max (n, 0);
    const int64_t bytes = (int64_t) n * 4;
    bool failed = bytes > INT32_MAX;
    for (int c = 0; c < numChannels && ! failed; ++c)
    {
        const int32_t oldSize = channel[c].size;
        channel[c].resize ((int32_t) bytes);
        if (channel[c].size != (int32_t) bytes)
            failed = true;
        else if (bytes > oldSize)
            std::memset (channel[c].buf + oldSize, 0, (size_t) (bytes - oldSize));
    }

    if (failed)
    {
        channel[0].resize (0, true);
        channel[1].resize (0, true);
        return 0;
    }
    return length (0);
}

void ImpulseBuffer::set (const float* const* samples, int32_t n, int32_t channelCount)
{
    setLength (n);

    channelCount = std::clamp (channelCount, 1, 2);
    if (channelCount > numChannels)
    {
        // a new channel starts as a copy of the one before it
        for (int c = numChannels; c < channelCount; ++c)
        {
            channel[c].resize (channel[0].size);
            if (channel[c].size != channel[0].size)
            {
                // out of memory: keep the channels equally long rather than half-made
                channel[0].resize (0, true);
                channel[1].resize (0, true);
                return;
            }
            if (channel[0].size > 0)
                std::memcpy (channel[c].buf, channel[c - 1].buf, (size_t) channel[0].size);
        }
    }
    else
    {
        for (int c = channelCount; c < 2; ++c)
            channel[c].resize (0);
    }
    numChannels = channelCount;

    if (channel[0].size == 0 || samples == nullptr)
        return;

    const int32_t count = std::min (n, length (0));
    for (int c = 0; c < numChannels; ++c)
        if (samples[c] != nullptr && length (c) >= count)
            std::memcpy (channel[c].buf, samples[c], (size_t) count * 4);
}
