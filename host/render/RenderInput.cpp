#include "RenderInput.h"

#include "AtomicFileWrite.h"
#include "AudioFileKind.h"
#include "HeldAudioLength.h"
#include "PlainWavView.h"
#include "WavHeader.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int InputAudio::read (juce::AudioBuffer<float>& buffer, int count)
{
    const int frames = static_cast<int> (std::min<int64_t> (count, length - position));
    if (frames <= 0)
        return 0;
    if (reader != nullptr)
    {
        if (! reader->read (&buffer, 0, frames, position, true, true))
            return -1;
    }
    else
    {
        for (int channel = 0; channel < channels; ++channel)
            buffer.copyFrom (channel, 0, signal, channel, static_cast<int> (position), frames);
    }
    position += frames;
    return frames;
}

namespace
{
// Opening without waiting (a named pipe would wait for a writer) and looking at what was opened.
bool isReadableRegularFile (const std::string& path, std::string& reason)
{
    const int descriptor = ::open (path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    struct stat info
    {
    };
    const bool regular = ::fstat (descriptor, &info) == 0 && S_ISREG (info.st_mode);
    ::close (descriptor);
    if (! regular)
        reason = S_ISDIR (info.st_mode) ? "it is a folder" : "it is not a regular file";
    return regular;
}

// What every input is held to, whatever its format; empty when the audio can be rendered.
std::string unrenderable (unsigned channels, double rate)
{
    if (channels < 1 || channels > 2)
        return "only mono and stereo files can be rendered";
    if (! (rate >= 8000.0 && rate <= 384000.0))
        return "unusable sample rate";
    return {};
}

const char* const readableKinds = "(WAV of 8- to 32-bit integer or 32-bit floating-point samples, and FLAC, can)";
} // namespace

bool openInput (const std::string& path, InputAudio& input, std::string& error)
{
    std::string reason;
    if (! isReadableRegularFile (path, reason))
    {
        error = "cannot read " + path + ": " + reason;
        return false;
    }
    const std::string cannotRead = "cannot read " + path + ": ";
    const juce::File file = fileFromPath (path);
    std::unique_ptr<juce::InputStream> stream = file.createInputStream();
    if (stream == nullptr)
    {
        error = cannotRead + describeErrno (errno);
        return false;
    }

    // A WAV file's header is checked here and JUCE reads its samples through a plain view of it;
    // anything else is offered to the FLAC reader.
    WavLayout wav;
    const WavHeaderCheck check = checkWavHeader (*stream, wav, reason);
    if (check == WavHeaderCheck::damaged)
    {
        error = cannotRead + "the WAV header is damaged: " + reason;
        return false;
    }
    if (check == WavHeaderCheck::otherEncoding)
    {
        error = cannotRead + describeWavEncoding (wav.formatTag, wav.statedBits) + ", which cannot be read " +
                readableKinds;
        return false;
    }
    const bool isWav = check == WavHeaderCheck::readable;
    const int64_t fileLength = stream->getTotalLength();
    std::unique_ptr<juce::AudioFormatReader> reader;
    if (isWav)
    {
        // JUCE takes the rate and channel count as signed numbers: absurd ones are refused first.
        const std::string problem = unrenderable (wav.channels, wav.sampleRate);
        if (! problem.empty())
        {
            error = cannotRead + problem;
            return false;
        }
        reader.reset (juce::WavAudioFormat().createReaderFor (new PlainWavView (std::move (stream), wav), true));
    }
    else
    {
        stream->setPosition (0);
        reader.reset (juce::FlacAudioFormat().createReaderFor (stream.release(), true));
    }
    if (reader == nullptr)
    {
        const std::string kind = describeUnreadableAudioFile (path);
        error = cannotRead + (kind.empty() ? std::string ("not a WAV or FLAC file")
                                           : kind + ", which cannot be read " + readableKinds);
        return false;
    }

    const std::string problem = unrenderable (reader->numChannels, reader->sampleRate);
    if (! problem.empty())
    {
        error = cannotRead + problem;
        return false;
    }
    const int64_t declared = isWav
                                 ? static_cast<int64_t> (std::min<uint64_t> (wav.dataBytes / wav.blockAlign, INT64_MAX))
                                 : static_cast<int64_t> (reader->lengthInSamples);
    if (declared <= 0)
    {
        error = cannotRead + "no audio in it";
        return false;
    }
    const int64_t held = isWav ? heldWavLength (wav, fileLength, declared) : heldFlacLength (file, declared);
    if (held < declared)
    {
        error = cannotRead + "the audio data is damaged: the header claims " + std::to_string (declared) +
                " samples per channel, the file holds " + std::to_string (held);
        return false;
    }

    input.rate = reader->sampleRate;
    input.channels = static_cast<int> (reader->numChannels);
    input.bitsPerSample = static_cast<int> (reader->bitsPerSample);
    input.floatingPoint = reader->usesFloatingPointData;
    input.length = reader->lengthInSamples;
    input.reader = std::move (reader);
    return true;
}
