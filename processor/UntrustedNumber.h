#pragma once

#include <juce_core/juce_core.h>

#include <optional>

// Reads decimal text that comes from outside (state blocks, the presets file, the responses
// document) the way the framework reads a double, without its fault: the framework gathers the
// exponent digits in an int that overflows on a long enough exponent ("1e9999999999"), which is
// undefined and in practice wraps to an unrelated value. Here an exponent too large for any double
// stays too large, so the value reads as infinite or zero as it should.
//
// Text with no number at the start reads as 0, as the framework reads it. Empty when the value is
// not finite ("nan", "inf", or out of double range).
std::optional<double> parseUntrustedNumber (const juce::String& text);

// The same, for a value that goes into a float: also empty beyond float range.
std::optional<float> parseUntrustedFloat (const juce::String& text);
