#pragma once

#include <memory>

#include <juce_audio_basics/juce_audio_basics.h>

#include "ConvolutionEngine.h"
#include "ImpulseBuffer.h"

/** Copies n floats of each of numChannels channels from src to dst. */
void copyChannels (const float* const* src, float* const* dst, int numChannels, int n);

/** One convolution engine with the impulse it convolves with. Processes blocks in place, and
    carries the flags through which a band convolver hands a new impulse from one slot to another. */
class EngineSlot
{
public:
    /** Builds the engine and loads source (null: an empty impulse, which passes audio through). */
    explicit EngineSlot (const juce::AudioBuffer<float>* sourceBuffer);
    ~EngineSlot();

    EngineSlot (const EngineSlot&) = delete;
    EngineSlot& operator= (const EngineSlot&) = delete;

    /** Loads a new impulse; the engine restarts from silence and loading is set. */
    void load (const juce::AudioBuffer<float>& impulseSource);

    /** Blocks of up to n samples allocate nothing once the first block after a load has run. */
    void setMaximumBlockSize (int n) { engine->setMaximumBlockSize (n); }

    /** Convolves the block in place. While the engine cannot deliver n samples the block keeps its
        input unchanged. */
    void process (float* const* channels, int numChannels, int n);

    bool active = false;
    bool loading = false;
    bool handover = false;
    int32_t blockCounter = 0;
    double sampleRate = 96000.0;
    const juce::AudioBuffer<float>* source;
    juce::AudioBuffer<float> buffer;
    std::unique_ptr<ImpulseBuffer> impulse;
    std::unique_ptr<ConvolutionEngine> engine;
};
