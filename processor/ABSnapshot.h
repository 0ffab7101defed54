#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class ConvolutionEqAudioProcessor;

/** The stored settings of the preset strip's A-B compare. It starts without attributes, so the
    first A-B sets every parameter to its own value and stores the current settings. */
class ABSnapshot
{
public:
    explicit ABSnapshot (ConvolutionEqAudioProcessor* ownerProcessor);

    /** "A-B": applies the stored settings and stores the settings from before. */
    void swapWithCurrent();

    /** "Keep": stores the current settings. */
    void keepCurrent();

    ConvolutionEqAudioProcessor* owner;
    juce::XmlElement values{ "AB" };
};
