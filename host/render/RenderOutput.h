#pragma once

#include "AtomicFileWrite.h"
#include "RenderInput.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/** The render's output file: written as the audio comes, into a temporary that becomes the file
    only when the render has finished, so an interrupted or failed render leaves nothing behind. */
class OutputAudio
{
public:
    explicit OutputAudio (const std::string& outputPath);
    ~OutputAudio();

    /** Chooses the format by the name's ending and the bit depth from the input's; false with the
        message to print. */
    bool open (const InputAudio& input, std::string& error);

    /** Appends the buffer's first `count` frames; false when the file cannot take them. */
    bool write (const juce::AudioBuffer<float>& buffer, int count);

    /** Completes the file's header and makes the file; false with the reason. */
    bool finish (std::string& error);

    std::string describeWriteFailure() const;

    /** Removes the temporary and leaves any existing file as it was. */
    void discard();

    /** Samples that an integer output clipped so far, as its quantiser counted them. */
    int64_t clippedSamples() const noexcept { return clipped; }
    int bits() const noexcept { return bitsPerSample; }
    bool holdsIntegers() const noexcept { return integerSamples; }

private:
    bool closeFile();

    std::string path;
    PendingFile pending;
    int descriptor = -1;
    std::string failure;
    std::unique_ptr<juce::AudioFormatWriter> writer;
    bool integerSamples = true;
    int bitsPerSample = 24;
    int64_t clipped = 0;
    // Integer outputs: each channel's samples as the writer takes them, and the channels' starts.
    std::vector<int32_t> integers;
    std::vector<const int*> channelIntegers;
};
