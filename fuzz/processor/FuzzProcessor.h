#pragma once

#include "ConvolutionEqAudioProcessor.h"

#include <cmath>
#include <cstdlib>
#include <unistd.h>

// One processor for the whole fuzzing run, whose presets file lives in a private temporary folder.
// It and the framework stay alive until the process ends: the framework's own statics would
// otherwise be torn down in the wrong order at exit.
inline ConvolutionEqAudioProcessor& fuzzProcessor()
{
    static auto* framework = new juce::ScopedJuceInitialiser_GUI();
    juce::ignoreUnused (framework);
    static const juce::File folder = []
    {
        // Named by process ID: fuzzers run side by side, and a shared folder would mix their presets.
        auto f = juce::File::getSpecialLocation (juce::File::tempDirectory)
                     .getNonexistentChildFile ("larkspur-fuzz-" + juce::String ((int) getpid()), "");
        f.createDirectory();
        setenv ("XDG_DATA_HOME", f.getFullPathName().toRawUTF8(), 1);
        return f;
    }();
    juce::ignoreUnused (folder);
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
