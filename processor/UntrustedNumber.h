#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** Reads decimal text that comes from outside (state blocks, the presets file, the responses
    document): leading white space, an optional sign, digits with an optional point, an optional
    exponent, and anything after that ignored. That is JUCE's grammar, but JUCE's
    reader gets long texts wrong: its exponent overflows an int ("1e9999999999") and a run of more
    than a thousand integer digits loses its scale, both giving unrelated values. Here the digits
    are converted as written, correctly rounded, whatever their length.

    Text with no number at the start reads as 0, as JUCE reads it. Empty when the value is
    not finite ("nan", "inf", or beyond double range). */
std::optional<double> parseUntrustedNumber (const juce::String& text);

/** The same, for a value that goes into a float: also empty beyond float range. */
std::optional<float> parseUntrustedFloat (const juce::String& text);
