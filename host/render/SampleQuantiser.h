#pragma once

#include <cstdint>

/** Turns float samples into the integers of a file of `bits` (8 to 24) per sample, given as 32-bit
    values whose top `bits` bits hold the sample, which is how JUCE's WAV and FLAC writers take
    them. Full scale is 2^(bits - 1), the step that JUCE's readers divide by, so a sample read from
    a file of the same depth is written back unchanged (JUCE's own conversion scales by 2^31 - 1 and
    lowers about a quarter of a 16-bit file's samples by one step). Samples round to the nearest
    step; those whose step lies beyond the integers clip to the nearest end, which +1.0 does too
    (full scale is one step above the largest integer). NaN becomes silence. Answers how many
    samples were clipped. */
int quantiseSamples (const float* samples, int32_t* integers, int count, int bits) noexcept;
