#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>
#include <functional>

class HostInstance;

/** Plays audio through one insert as a host plays a track: the blocks run on a real-time thread of
    their own, while the calling thread, the host's main thread, does the host's idle work (and
    anything the caller adds), reads the next stretch of input and writes the last stretch of
    output. Two stretches are in flight at a time, so memory does not grow with the length. */
struct InsertRenderer
{
    int blockSize = 512;
    /** Called on the main thread between idle calls. */
    std::function<void()> onMainThread;
    /** Called on the main thread with the fraction done. */
    std::function<void (double)> onProgress;
    /** Asked on the main thread; true stops the render after the stretches under way. */
    std::function<bool()> shouldStop;

    /** Fills the buffer's first `count` frames (or fewer at the end); answers how many were filled,
        0 at the end, or -1 when the input failed. */
    using Source = std::function<int (juce::AudioBuffer<float>& buffer, int count)>;
    /** Takes the buffer's first `count` frames; false when the output failed. */
    using Sink = std::function<bool (const juce::AudioBuffer<float>& buffer, int count)>;

    enum class Outcome
    {
        finished,
        stopped,
        sourceFailed,
        sinkFailed
    };

    /** Streams the source through the insert into the sink. `totalLength` (frames, 0 if unknown)
        only serves the progress report. Every channel count of the insert's is used. */
    Outcome stream (HostInstance& instance, int64_t totalLength, const Source& source, const Sink& sink) const;

    /** `output` gets the input's size; the insert's channel count must match the input's. */
    void render (HostInstance& instance, const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output) const;

    /** Frames per stretch: whole blocks, so that a stream is cut into the same blocks as a
        whole buffer would be. */
    int stretchLength() const noexcept;
};
