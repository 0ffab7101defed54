#include "InsertRenderer.h"

#include "HostInstance.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

void InsertRenderer::render (HostInstance& instance, const juce::AudioBuffer<float>& input,
                             juce::AudioBuffer<float>& output) const
{
    const int channels = input.getNumChannels();
    const int length = input.getNumSamples();
    output.setSize (channels, length, false, true, false);
    const int block = std::max (1, blockSize);

    std::atomic<int> processed{ 0 };
    std::atomic<bool> finished{ false };

    std::thread audioThread (
        [&]
        {
            std::vector<const float*> inputs (static_cast<size_t> (channels));
            std::vector<float*> outputs (static_cast<size_t> (channels));
            for (int start = 0; start < length; start += block)
            {
                const int count = std::min (block, length - start);
                for (int channel = 0; channel < channels; ++channel)
                {
                    inputs[static_cast<size_t> (channel)] = input.getReadPointer (channel, start);
                    outputs[static_cast<size_t> (channel)] = output.getWritePointer (channel, start);
                }
                instance.process (inputs.data(), outputs.data(), count);
                processed.store (start + count, std::memory_order_release);
            }
            finished.store (true, std::memory_order_release);
        });

    while (! finished.load (std::memory_order_acquire))
    {
        instance.idle();
        if (onMainThread)
            onMainThread();
        if (onProgress && length > 0)
            onProgress (static_cast<double> (processed.load (std::memory_order_acquire)) / length);
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }
    audioThread.join();
    instance.idle();
    if (onProgress)
        onProgress (1.0);
}
