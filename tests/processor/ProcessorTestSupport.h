#pragma once

#include "ConvolutionEqAudioProcessor.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <map>

// Every parameter's normalised value, by ID.
std::map<juce::String, float> normalisedValues (ConvolutionEqAudioProcessor& processor);

juce::MemoryBlock fileBytes (const juce::File& file);
