#pragma once

#include "ConvolutionEqAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

// A fresh user data folder for the duration of a test, so that the processor's presets file lands
// there: XDG_DATA_HOME points at it, and the previous value comes back afterwards. The name carries
// the process ID, so that test binaries running side by side never share one.
class TemporaryUserFolder
{
public:
    TemporaryUserFolder();
    ~TemporaryUserFolder();

private:
    juce::File folder;
    bool hadPrevious = false;
    juce::String previous;
};

juce::RangedAudioParameter& parameter (ConvolutionEqAudioProcessor& processor, const juce::String& id);

// Sets a parameter from a plain value (dB, Hz, 0/1, index) as the host would.
void setPlainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id, float plainValue);
