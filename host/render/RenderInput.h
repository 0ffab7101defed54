#pragma once

#include "CommandLinePath.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdint>
#include <memory>
#include <string>

/** Where the render's audio comes from: an input file read as it plays, or the built-in test signal. */
struct InputAudio
{
    static constexpr double defaultRate = 48000.0;

    std::unique_ptr<juce::AudioFormatReader> reader;
    juce::AudioBuffer<float> signal;
    double rate = defaultRate;
    int channels = 2;
    int bitsPerSample = 24;
    bool floatingPoint = false;
    int64_t length = 0;
    int64_t position = 0;

    /** Fills the buffer's first `count` frames from the current position: the frames read, 0 at the
        end, -1 when the file cannot be read. */
    int read (juce::AudioBuffer<float>& buffer, int count);
};

/** Opens a WAV or FLAC file for the render; false with the message to print. */
bool openInput (const std::string& path, InputAudio& input, std::string& error);
