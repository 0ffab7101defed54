#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdint>

/** How many sample frames a WAV or FLAC file really holds, counted up to the `declared` length its
    header claims. JUCE's readers fill a cut-off file's missing end with silence and report
    success, so a header that overstates the length must be caught before anything is allocated
    for it. Uncompressed WAV is measured from the bytes after the start of its audio data; FLAC is
    decoded frame by frame without keeping the audio. Other formats are taken at their word. */
int64_t heldAudioLength (const juce::File& file, const juce::AudioFormatReader& reader, int64_t declared);
