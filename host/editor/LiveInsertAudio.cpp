#include "LiveInsertAudio.h"

#include "HostInstance.h"

#include <algorithm>
#include <chrono>
#include <vector>

LiveInsertAudio::LiveInsertAudio (HostInstance& instance, juce::AudioBuffer<float> signal, int blockSize)
    : insert (instance)
    , input (std::move (signal))
    , output (input.getNumChannels(), std::max (1, blockSize))
    , block (std::max (1, blockSize))
{
    thread = std::thread ([this] { run(); });
}

LiveInsertAudio::~LiveInsertAudio()
{
    stop();
}

void LiveInsertAudio::stop()
{
    running.store (false);
    if (thread.joinable())
        thread.join();
}

void LiveInsertAudio::run()
{
    const int channels = input.getNumChannels();
    const int length = input.getNumSamples();
    if (channels == 0 || length == 0)
        return;
    std::vector<const float*> inputs (static_cast<size_t> (channels));
    std::vector<float*> outputs (static_cast<size_t> (channels));
    const auto blockDuration = std::chrono::duration<double> (block / static_cast<double> (insert.sampleRate()));
    auto due = std::chrono::steady_clock::now();

    for (int start = 0; running.load (std::memory_order_relaxed);)
    {
        const int count = std::min (block, length - start);
        for (int channel = 0; channel < channels; ++channel)
        {
            inputs[static_cast<size_t> (channel)] = input.getReadPointer (channel, start);
            outputs[static_cast<size_t> (channel)] = output.getWritePointer (channel);
        }
        insert.process (inputs.data(), outputs.data(), count);
        blocks.fetch_add (1, std::memory_order_relaxed);
        start = start + count >= length ? 0 : start + count;

        due += std::chrono::duration_cast<std::chrono::steady_clock::duration> (blockDuration * count / block);
        // After a stall (a debugger, a loaded machine) play on from now rather than in a burst.
        const auto now = std::chrono::steady_clock::now();
        if (now > due + std::chrono::milliseconds (100))
            due = now;
        std::this_thread::sleep_until (due);
    }
}
