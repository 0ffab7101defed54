#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <thread>

class HostInstance;

/** Plays a signal through one insert over and over, in real time, on a real-time thread of its
    own, as a host plays a track while the user works in the plug-in's window. The output is
    discarded. The insert must outlive it. */
class LiveInsertAudio
{
public:
    /** The signal must have the insert's channel count. */
    LiveInsertAudio (HostInstance& instance, juce::AudioBuffer<float> signal, int blockSize);
    ~LiveInsertAudio();

    LiveInsertAudio (const LiveInsertAudio&) = delete;
    LiveInsertAudio& operator= (const LiveInsertAudio&) = delete;

    void stop();
    /** Blocks played so far. */
    long long blocksPlayed() const noexcept { return blocks.load (std::memory_order_relaxed); }

private:
    void run();

    HostInstance& insert;
    const juce::AudioBuffer<float> input;
    juce::AudioBuffer<float> output;
    const int block;
    std::atomic<bool> running{ true };
    std::atomic<long long> blocks{ 0 };
    std::thread thread;
};
