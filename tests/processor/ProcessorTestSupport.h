#pragma once

#include "ConvolutionEqAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

// A fresh, empty user data folder for the duration of a test: XDG_DATA_HOME points at it, and the
// previous value comes back afterwards.
class TemporaryUserFolder
{
public:
    TemporaryUserFolder();
    ~TemporaryUserFolder();

    const juce::File& getFolder() const noexcept { return folder; }
    juce::File presetsFile() const;

private:
    juce::File folder;
    bool hadPrevious = false;
    juce::String previous;
};

juce::RangedAudioParameter& parameter (ConvolutionEqAudioProcessor& processor, const juce::String& id);

// Sets a parameter from a plain value (dB, Hz, 0/1, index) as the host would.
void setPlainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id, float plainValue);
float plainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id);

// Every parameter's normalised value, by ID.
std::map<juce::String, float> normalisedValues (ConvolutionEqAudioProcessor& processor);

juce::MemoryBlock fileBytes (const juce::File& file);
