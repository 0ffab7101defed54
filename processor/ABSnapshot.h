#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The stored settings of the preset strip's A-B compare. It starts without attributes, so the
    first A-B sets every parameter to its own value and stores the current settings. */
class ABSnapshot
{
public:
    /** The snapshot sets and reads the parameters of this processor. */
    explicit ABSnapshot (juce::AudioProcessor& processorToCompare);

    /** "A-B": applies the stored settings and stores the settings from before. */
    void swapWithCurrent();

    /** "Keep": stores the current settings. */
    void keepCurrent();

    juce::AudioProcessor& processor;
    juce::XmlElement values{ "AB" };
};
