#include "EngineSlot.h"

#include <algorithm>
#include <cstring>

void copyChannels (const float* const* src, float* const* dst, int numChannels, int n)
{
    if (src == nullptr || dst == nullptr || numChannels < 1 || n < 1)
        return;
    for (int c = 0; c < numChannels; ++c)
        if (src[c] != nullptr && dst[c] != nullptr && src[c] != dst[c])
            std::memcpy (dst[c], src[c], (size_t) n * sizeof (float));
}

EngineSlot::EngineSlot (const juce::AudioBuffer<float>* sourceBuffer)
    : source (sourceBuffer)
    , buffer (1, 1)
    , impulse (std::make_unique<ImpulseBuffer>())
    , engine (std::make_unique<ConvolutionEngine>())
{
    buffer.clear();
    if (source != nullptr)
        load (*source);
    else
        engine->setImpulse (*impulse);
    loading = true;
}

EngineSlot::~EngineSlot() = default;

void EngineSlot::load (const juce::AudioBuffer<float>& impulseSource)
{
    if (impulseSource.getNumChannels() > 0)
        impulse->set (impulseSource.getArrayOfReadPointers(), impulseSource.getNumSamples(),
                      impulseSource.getNumChannels());
    else
        impulse->set (nullptr, 0, 1);
    engine->setImpulse (*impulse);
    loading = true;
}

void EngineSlot::process (float* const* channels, int numChannels, int n)
{
    if (channels == nullptr || n < 1)
        return;

    engine->add (channels, n, numChannels);
    if (engine->avail (n) != n)
        return;

    const int channelsOut = std::min (numChannels, (int) engine->numChannels);
    for (int ch = 0; ch < engine->numChannels; ++ch)
        engine->outputPointers[ch] = engine->outputQueues[ch].frontFloats();
    copyChannels (engine->outputPointers, channels, channelsOut, n);
    for (int ch = 0; ch < engine->numChannels; ++ch)
        engine->outputQueues[ch].consumeFloats (n);
}
