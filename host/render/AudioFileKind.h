#pragma once

#include <string>

/** What an audio file that the render command cannot read is, from its first bytes: "a WAV file
    of 64-bit floating-point samples", "an MP3 file". Empty when nothing is recognised. */
std::string describeUnreadableAudioFile (const std::string& path);

/** A WAV file by its format tag and bits per sample: "a WAV file of 64-bit floating-point samples". */
std::string describeWavEncoding (unsigned formatTag, unsigned bitsPerSample);
