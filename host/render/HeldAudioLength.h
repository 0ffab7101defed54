#pragma once

#include "WavHeader.h"

#include <juce_core/juce_core.h>

#include <cstdint>

/* How many sample frames a WAV or FLAC file really holds, counted up to the `declared` length its
   header claims. JUCE's readers fill a cut-off file's missing end with silence and report
   success, so a header that overstates the length must be caught before anything is allocated
   for it. */

/** FLAC: decoded frame by frame without keeping the audio. */
int64_t heldFlacLength (const juce::File& file, int64_t declared);

/** Uncompressed WAV: the whole frames between the start of the audio data and the end of the file. */
int64_t heldWavLength (const WavLayout& layout, int64_t fileLength, int64_t declared);
