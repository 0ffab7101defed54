// Reads arbitrary bytes as the render's input file, through the same opening, WAV header check and
// readers as the render, and reads what is accepted as the render would, up to a bounded length.
// An accepted file must keep the render's promises: mono or stereo, a usable rate, some audio.
#include "RenderInput.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace
{
constexpr size_t largestInput = 1 << 15;
constexpr int64_t framesToRead = 1 << 18;
constexpr int blockFrames = 1024;

// One file per fuzzing process, rewritten for each input and removed at exit.
char inputPath[] = "/tmp/larkspur-audio-fuzz-XXXXXX";

void removeInput()
{
    ::unlink (inputPath);
}

void writeInput (const uint8_t* data, size_t size)
{
    const int descriptor = ::open (inputPath, O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (descriptor < 0)
        std::abort();
    for (size_t written = 0; written < size;)
    {
        const ssize_t now = ::write (descriptor, data + written, size - written);
        if (now <= 0)
            std::abort();
        written += static_cast<size_t> (now);
    }
    ::close (descriptor);
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    const int descriptor = ::mkstemp (inputPath);
    if (descriptor < 0)
        std::abort();
    ::close (descriptor);
    std::atexit (removeInput);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > largestInput)
        return 0;
    writeInput (data, size);

    InputAudio input;
    std::string error;
    if (! openInput (inputPath, input, error))
    {
        if (error.empty())
            std::abort();
        return 0;
    }
    if (input.channels < 1 || input.channels > 2 || input.length <= 0 || ! (input.rate >= 8000.0))
        std::abort();

    juce::AudioBuffer<float> buffer (input.channels, blockFrames);
    while (input.position < std::min (input.length, framesToRead))
    {
        const int64_t before = input.position;
        const int got = input.read (buffer, blockFrames);
        if (got < 0)
            return 0;
        if (got == 0 || input.position != before + got)
            std::abort();
    }
    return 0;
}
