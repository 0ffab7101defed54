#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <string>

/** Where a WAV file's samples lie and how each is stored. */
struct WavLayout
{
    bool hasFormat = false; // a format chunk of at least the basic 16 bytes was read
    unsigned formatTag = 0; // the extensible form's sub-format tag in its place
    bool floatingPoint = false;
    unsigned channels = 0;
    uint32_t sampleRate = 0;
    unsigned blockAlign = 0;    // bytes per frame
    unsigned containerBits = 0; // bits each sample takes in the file
    unsigned statedBits = 0;    // the format chunk's bits per sample
    unsigned validBits = 0;     // the extensible form's valid bits per sample, 0 when not given
    int64_t dataStart = 0;      // offset of the first frame in the file
    uint64_t dataBytes = 0;     // as the data chunk (or RF64's ds64 chunk) declares
};

enum class WavHeaderCheck
{
    notWav,        // no RIFF or RF64 WAVE file
    readable,      // integer or floating-point samples, and the header agrees with itself
    otherEncoding, // compressed, 64-bit floating point and other formats: the tag and bits tell which
    damaged        // the header contradicts itself or is incomplete; the reason says how
};

/** Reads the header of a WAV file from the start of `stream` and checks that its fields agree:
    samples of fewer bits than their container (12 in 16, 20 in 24) are held in the container's
    high bits, so `containerBits` is what reading goes by. */
WavHeaderCheck checkWavHeader (juce::InputStream& stream, WavLayout& layout, std::string& reason);
