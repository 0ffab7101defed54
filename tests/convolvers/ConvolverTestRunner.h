#pragma once

#include "BandConvolver.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

namespace convolver_test
{
/** Feeds a band convolver block by block the way block processing does: work and scratch each hold a
    copy of the band's input, and work holds the band's output afterwards. */
class BlockRunner
{
public:
    explicit BlockRunner (int numChannelsToUse = 2, int maxBlockSize = 64)
        : work (numChannelsToUse, maxBlockSize)
        , scratch (numChannelsToUse, maxBlockSize)
    {
    }

    /** Runs one block whose every channel is input; returns channel 0 of the output. */
    std::vector<float> run (BandConvolver& convolver, const std::vector<float>& input)
    {
        const int n = (int) input.size();
        for (int c = 0; c < work.getNumChannels(); ++c)
        {
            work.copyFrom (c, 0, input.data(), n);
            scratch.copyFrom (c, 0, input.data(), n);
        }
        convolver.process (work.getArrayOfWritePointers(), scratch.getArrayOfWritePointers(), work.getNumChannels(), n);
        return std::vector<float> (work.getReadPointer (0), work.getReadPointer (0) + n);
    }

    /** A block holding a unit impulse at its first sample: with a response no longer than the block,
        the output is exactly the response heard, whatever came before. */
    std::vector<float> runImpulse (BandConvolver& convolver, int n = 64)
    {
        std::vector<float> input ((size_t) n, 0.0f);
        input[0] = 1.0f;
        return run (convolver, input);
    }

    juce::AudioBuffer<float> work, scratch;
};

/** The response padded or cut to n samples, as a block holding a unit impulse hears it. */
inline std::vector<float> asBlock (const juce::AudioBuffer<float>& response, int n = 64)
{
    std::vector<float> block ((size_t) n, 0.0f);
    for (int i = 0; i < juce::jmin (n, response.getNumSamples()); ++i)
        block[(size_t) i] = response.getSample (0, i);
    return block;
}

inline std::vector<float> silence (int n = 64)
{
    return std::vector<float> ((size_t) n, 0.0f);
}
} // namespace convolver_test
