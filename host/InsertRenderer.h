#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <functional>

class HostInstance;

// Plays a whole buffer through one insert as a host plays a track: the blocks run on a real-time
// thread of their own, while the calling thread, the host's main thread, does the host's idle
// work (and anything the caller adds) until the last block is done.
struct InsertRenderer
{
    int blockSize = 512;
    // Called on the main thread between idle calls.
    std::function<void()> onMainThread;
    // Called on the main thread with the fraction done.
    std::function<void (double)> onProgress;

    // `output` gets the input's size; the insert's channel count must match the input's.
    void render (HostInstance& instance, const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output) const;
};
