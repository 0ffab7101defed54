#include "RenderOutput.h"

#include "DescriptorOutputStream.h"
#include "SampleQuantiser.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

OutputAudio::OutputAudio (const std::string& outputPath)
    : path (outputPath)
    , pending (outputPath)
{
}

OutputAudio::~OutputAudio()
{
    closeFile();
}

bool OutputAudio::open (const InputAudio& input, std::string& error)
{
    const bool wav = hasNameEnding (path, "wav");
    std::unique_ptr<juce::AudioFormat> format;
    int bits = input.bitsPerSample;
    if (wav)
        format = std::make_unique<juce::WavAudioFormat>();
    else
    {
        format = std::make_unique<juce::FlacAudioFormat>();
        bits = std::min (bits, 24);
    }
    if (! format->getPossibleBitDepths().contains (bits))
        bits = 24;
    // A 32-bit WAV file holds floating-point samples.
    integerSamples = ! (wav && bits == 32);
    bitsPerSample = bits;

    std::string reason;
    descriptor = pending.open (reason);
    if (descriptor < 0)
    {
        error = "cannot write " + path + ": " + reason;
        return false;
    }
    auto stream = std::make_unique<DescriptorOutputStream> (descriptor, failure);
    writer.reset (
        format->createWriterFor (stream.get(), input.rate, static_cast<unsigned int> (input.channels), bits, {}, 0));
    if (writer == nullptr)
    {
        error = "cannot write " + path + ": the format does not take this audio";
        return false;
    }
    stream.release();
    return true;
}

bool OutputAudio::write (const juce::AudioBuffer<float>& buffer, int count)
{
    if (! integerSamples)
        return writer->writeFromAudioSampleBuffer (buffer, 0, count);

    const int channels = buffer.getNumChannels();
    integers.resize (static_cast<size_t> (channels) * static_cast<size_t> (count));
    channelIntegers.assign (static_cast<size_t> (channels) + 1, nullptr);
    for (int channel = 0; channel < channels; ++channel)
    {
        int32_t* destination = integers.data() + static_cast<size_t> (channel) * static_cast<size_t> (count);
        clipped += quantiseSamples (buffer.getReadPointer (channel), destination, count, bitsPerSample);
        channelIntegers[static_cast<size_t> (channel)] = destination;
    }
    return writer->write (channelIntegers.data(), count);
}

bool OutputAudio::finish (std::string& error)
{
    writer.reset();
    const bool closed = closeFile();
    std::string reason = failure;
    if (reason.empty() && ! closed)
        reason = describeErrno (errno);
    if (reason.empty() && pending.commit (reason))
        return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

std::string OutputAudio::describeWriteFailure() const
{
    return "cannot write " + path + ": " + (failure.empty() ? std::string ("the audio writer failed") : failure);
}

void OutputAudio::discard()
{
    writer.reset();
    closeFile();
    pending.discard();
}

bool OutputAudio::closeFile()
{
    if (descriptor < 0)
        return true;
    const bool closed = ::close (descriptor) == 0;
    descriptor = -1;
    return closed;
}
