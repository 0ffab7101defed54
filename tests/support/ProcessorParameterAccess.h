#pragma once

#include "ConvolutionEqAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

// The processor's parameter with this ID; throws when there is none.
juce::RangedAudioParameter& parameter (ConvolutionEqAudioProcessor& processor, const juce::String& id);

// Sets a parameter from a plain value (dB, Hz, 0/1, index) as the host would.
void setPlainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id, float plainValue);
float plainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id);
