#pragma once

#include "ConvolutionEqAudioProcessor.h"
#include "ProcessUserFolder.h"

#include <cmath>
#include <cstdlib>

// One processor for the whole fuzzing run, whose presets file lives in a private temporary folder.
// It and JUCE stay alive until the process ends: JUCE's own statics would
// otherwise be torn down in the wrong order at exit. Only the folder goes at exit.
inline ConvolutionEqAudioProcessor& fuzzProcessor()
{
    static auto* framework = new juce::ScopedJuceInitialiser_GUI();
    juce::ignoreUnused (framework);
    // Fuzzers run side by side, each with a folder of its own.
    static const ProcessUserFolder folder ("larkspur-fuzz");
    static auto* processor = new ConvolutionEqAudioProcessor();
    return *processor;
}

// A non-finite parameter value is a finding: abort so that the fuzzer keeps the input.
inline void requireFiniteParameters (ConvolutionEqAudioProcessor& processor)
{
    for (auto* parameter : processor.getParameters())
        if (! std::isfinite (parameter->getValue()))
            std::abort();

    for (int i = 0; i < ConvolutionEqAudioProcessor::numCachedValues; ++i)
        if (! std::isfinite (processor.currentValue ((ConvolutionEqAudioProcessor::CachedValue) i)))
            std::abort();
}
