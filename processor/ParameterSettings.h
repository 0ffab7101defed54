#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// A settings element holds one attribute per parameter ID (all but "preset", in registration
// order) with the parameter's normalised value as text. The A-B snapshot, every preset of the
// presets file and the preset strip's temporary element have this form.

/** Replaces the element's attributes with the processor's current normalised values. */
void captureParameterValues (const juce::AudioProcessor& processor, juce::XmlElement& settings);

/** Sets every parameter (but "preset") from the element and announces it to the host and the
    listeners; a parameter without an attribute, or whose attribute is not a finite number, is set
    to its own current value. */
void applyParameterValues (const juce::XmlElement& settings, juce::AudioProcessor& processor);
