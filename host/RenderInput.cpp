#include "RenderInput.h"

#include "AtomicFileWrite.h"
#include "AudioFileKind.h"
#include "HeldAudioLength.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

juce::File fileFromPath (const std::string& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (path));
}

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
} // namespace

bool openInput (const std::string& path, InputAudio& input, std::string& error)
{
    const juce::File file = fileFromPath (path);
    std::string reason;
    if (! isReadableRegularFile (file.getFullPathName().toStdString(), reason))
    {
        error = "cannot read " + path + ": " + reason;
        return false;
    }
    juce::AudioFormatManager formats;
    formats.registerFormat (new juce::WavAudioFormat(), true);
    formats.registerFormat (new juce::FlacAudioFormat(), false);
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
    if (reader == nullptr)
    {
        const std::string kind = describeUnreadableAudioFile (file.getFullPathName().toStdString());
        error = "cannot read " + path + ": " +
                (kind.empty() ? std::string ("not a WAV or FLAC file")
                              : kind + ", which cannot be read (WAV of 8- to 32-bit integer or 32-bit "
                                       "floating-point samples, and FLAC, can)");
        return false;
    }
    if (reader->numChannels < 1 || reader->numChannels > 2)
    {
        error = "cannot read " + path + ": only mono and stereo files can be rendered";
        return false;
    }
    if (reader->lengthInSamples <= 0)
    {
        error = "cannot read " + path + ": no audio in it";
        return false;
    }
    if (! (reader->sampleRate >= 8000.0 && reader->sampleRate <= 384000.0))
    {
        error = "cannot read " + path + ": unusable sample rate";
        return false;
    }

    const int64_t held = heldAudioLength (file, *reader, reader->lengthInSamples);
    if (held < reader->lengthInSamples)
    {
        error = "cannot read " + path + ": the audio data is damaged: the header claims " +
                std::to_string (reader->lengthInSamples) + " samples per channel, the file holds " +
                std::to_string (held);
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
