#include "InsertRenderer.h"

#include "HostInstance.h"

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace
{
constexpr int framesPerStretch = 32768;

enum StretchState
{
    empty,
    filled,
    processed
};

struct Stretch
{
    juce::AudioBuffer<float> input;
    juce::AudioBuffer<float> output;
    int frames = 0;
    std::atomic<int> state{ empty };
};
} // namespace

int InsertRenderer::stretchLength() const noexcept
{
    const int block = std::max (1, blockSize);
    return block * std::max (1, framesPerStretch / block);
}

InsertRenderer::Outcome InsertRenderer::stream (HostInstance& instance, int64_t totalLength, const Source& source,
                                                const Sink& sink) const
{
    const int channels = instance.channels();
    const int block = std::max (1, blockSize);
    const int length = stretchLength();

    std::array<Stretch, 2> stretches;
    for (Stretch& stretch : stretches)
    {
        stretch.input.setSize (channels, length);
        stretch.output.setSize (channels, length);
    }

    std::atomic<bool> stopAudio{ false };
    std::thread audioThread (
        [&]
        {
            std::vector<const float*> inputs (static_cast<size_t> (channels));
            std::vector<float*> outputs (static_cast<size_t> (channels));
            size_t index = 0;
            while (true)
            {
                Stretch& stretch = stretches[index];
                if (stretch.state.load (std::memory_order_acquire) != filled)
                {
                    if (stopAudio.load (std::memory_order_acquire))
                        return;
                    std::this_thread::sleep_for (std::chrono::microseconds (200));
                    continue;
                }
                for (int start = 0; start < stretch.frames; start += block)
                {
                    const int count = std::min (block, stretch.frames - start);
                    for (int channel = 0; channel < channels; ++channel)
                    {
                        inputs[static_cast<size_t> (channel)] = stretch.input.getReadPointer (channel, start);
                        outputs[static_cast<size_t> (channel)] = stretch.output.getWritePointer (channel, start);
                    }
                    instance.process (inputs.data(), outputs.data(), count);
                }
                stretch.state.store (processed, std::memory_order_release);
                index ^= 1;
            }
        });

    Outcome outcome = Outcome::finished;
    bool inputDone = false;
    int inFlight = 0;
    size_t fillIndex = 0;
    size_t drainIndex = 0;
    int64_t done = 0;
    while (! inputDone || inFlight > 0)
    {
        bool moved = false;
        if (! inputDone && stretches[fillIndex].state.load (std::memory_order_acquire) == empty)
        {
            Stretch& stretch = stretches[fillIndex];
            const int got = source (stretch.input, length);
            moved = true;
            if (got > 0)
            {
                stretch.frames = std::min (got, length);
                stretch.state.store (filled, std::memory_order_release);
                fillIndex ^= 1;
                ++inFlight;
            }
            else
            {
                inputDone = true;
                if (got < 0)
                    outcome = Outcome::sourceFailed;
            }
        }
        if (inFlight > 0 && stretches[drainIndex].state.load (std::memory_order_acquire) == processed)
        {
            Stretch& stretch = stretches[drainIndex];
            if (outcome == Outcome::finished && ! sink (stretch.output, stretch.frames))
            {
                outcome = Outcome::sinkFailed;
                inputDone = true;
            }
            done += stretch.frames;
            stretch.state.store (empty, std::memory_order_release);
            drainIndex ^= 1;
            --inFlight;
            moved = true;
        }
        if (outcome == Outcome::finished && shouldStop && shouldStop())
        {
            outcome = Outcome::stopped;
            inputDone = true;
        }

        instance.idle();
        if (onMainThread)
            onMainThread();
        if (onProgress && totalLength > 0)
            onProgress (std::min (1.0, static_cast<double> (done) / static_cast<double> (totalLength)));
        if (! moved)
            std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }
    stopAudio.store (true, std::memory_order_release);
    audioThread.join();
    instance.idle();
    if (onProgress && outcome == Outcome::finished)
        onProgress (1.0);
    return outcome;
}

void InsertRenderer::render (HostInstance& instance, const juce::AudioBuffer<float>& input,
                             juce::AudioBuffer<float>& output) const
{
    const int channels = input.getNumChannels();
    const int length = input.getNumSamples();
    output.setSize (channels, length, false, true, false);

    int read = 0;
    int written = 0;
    stream (
        instance, length,
        [&] (juce::AudioBuffer<float>& buffer, int count)
        {
            const int frames = std::min (count, length - read);
            for (int channel = 0; channel < channels; ++channel)
                buffer.copyFrom (channel, 0, input, channel, read, frames);
            read += frames;
            return frames;
        },
        [&] (const juce::AudioBuffer<float>& buffer, int count)
        {
            for (int channel = 0; channel < channels; ++channel)
                output.copyFrom (channel, written, buffer, channel, 0, count);
            written += count;
            return true;
        });
}
