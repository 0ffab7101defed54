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

/** Whether applying the element would leave every parameter at its setting: for each parameter
    (but "preset") the value applyParameterValues would give it, taken in the parameter's own units
    and steps (its normalised-to-plain conversion, which snaps), equals its current value so taken.
    States store plain values, so a preset applied, saved in a state and loaded again still holds;
    a parameter the element leaves out, or holds no number for, keeps its value and always holds. */
bool holdsParameterValues (const juce::XmlElement& settings, const juce::AudioProcessor& processor);
