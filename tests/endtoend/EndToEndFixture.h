#pragma once

#include "ConvolutionEqAudioProcessor.h"
#include "HostInstance.h"
#include "LoadedPlugin.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace endtoend
{
constexpr float sampleRate = 48000.0f;

// The product library loaded by the stand-in host, started and registered; the tests make
// inserts of it. Tear-down checks that the library may be unloaded.
class EndToEnd : public ::testing::Test
{
protected:
    EndToEnd();
    ~EndToEnd() override;

    std::unique_ptr<HostInstance> makeInstance (HostInstance::Options options = {});

    // A processor of the test's own, run directly: stereo, prepared at the rate with the given
    // maximum block after taking every parameter value the insert has.
    std::unique_ptr<ConvolutionEqAudioProcessor> makeReference (const HostInstance& insert, int maximumBlock,
                                                                int channels = 2) const;

    HostSession& session() { return plugin->session(); }

private:
    juce::ScopedJuceInitialiser_GUI framework;
    std::unique_ptr<LoadedPlugin> plugin;
};

// `samples` of the built-in test signal, stereo.
juce::AudioBuffer<float> testSignal (int samples);

// Runs the insert block by block on the calling thread.
juce::AudioBuffer<float> processDirectly (HostInstance& insert, const juce::AudioBuffer<float>& input, int blockSize);

// Runs the processor block by block, in place on a copy of the input.
juce::AudioBuffer<float> processReference (ConvolutionEqAudioProcessor& processor,
                                           const juce::AudioBuffer<float>& input, int blockSize);

// The first sample where two buffers differ, as text; empty when they are equal sample for sample.
std::string firstDifference (const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected);

bool allFinite (const juce::AudioBuffer<float>& audio);

// The normalised value of a processor parameter with a plain value (dB, Hz, switch).
double normalisedFor (const char* identifier, float plainValue);
} // namespace endtoend
