#pragma once

#include "HostInstance.h"
#include "ThreadAllocationCount.h"

#include <atomic>
#include <limits>
#include <random>
#include <thread>
#include <vector>

// The audio side of a validation run.

constexpr int maxBlock = 8192;
/** A block longer than the plug-in was prepared for is prepared for on the audio thread; the
    first blocks of an insert set up its bands. */
constexpr int warmUpBlocks = 16;
/** The processor's peak guard holds every block to a peak of 10 (+20 dB). */
constexpr float peakGuard = 10.0f;

/** What the audio thread found, written only by it and read after it ends: nothing here allocates. */
struct AudioFindings
{
    int blocks = 0;
    long samples = 0;
    int exempt = 0;
    int badBlock = -1;
    int badSize = 0;
    int badChannel = 0;
    int badSample = 0;
    float badValue = 0.0f;
    float badInput = 0.0f;
    int allocatingBlock = -1;
    int allocatingSize = 0;
    long allocations = 0;
    /** Allocations in blocks while responses were being changed, which the engine's restart on
        a new response makes; reported, not failed. */
    long handOverAllocations = 0;
    int handOverBlocks = 0;
};

enum class InputKind
{
    noise,
    square,
    silence,
    notANumber,
    infinity,
    denormal,
    count
};

inline const char* describeInput (InputKind kind)
{
    switch (kind)
    {
        case InputKind::noise:
            return "noise";
        case InputKind::square:
            return "a full-scale square";
        case InputKind::silence:
            return "silence";
        case InputKind::notANumber:
            return "NaN";
        case InputKind::infinity:
            return "infinity";
        case InputKind::denormal:
            return "denormals";
        default:
            return "?";
    }
}

/** One insert played on a real-time thread of its own: random block sizes from 1 to maxBlock,
    hostile input, and the output and the thread's allocations checked after every block. Nothing
    on that thread allocates but the plug-in. */
class ValidationAudioRun
{
public:
    ValidationAudioRun (HostInstance& insert, unsigned long seed, int blockCount)
        : instance (insert)
        , random (seed)
        , blocks (blockCount)
        , inputs (static_cast<size_t> (insert.channels()), std::vector<float> (maxBlock))
        , outputs (static_cast<size_t> (insert.channels()), std::vector<float> (maxBlock))
        , inputPointers (static_cast<size_t> (insert.channels()))
        , outputPointers (static_cast<size_t> (insert.channels()))
    {
        for (size_t channel = 0; channel < inputs.size(); ++channel)
        {
            inputPointers[channel] = inputs[channel].data();
            outputPointers[channel] = outputs[channel].data();
        }
    }

    void start()
    {
        thread = std::thread ([this] { run(); });
    }

    void join()
    {
        if (thread.joinable())
            thread.join();
    }

    bool finished() const noexcept { return done.load (std::memory_order_acquire); }
    const AudioFindings& findings() const noexcept { return found; }
    int blockCount() const noexcept { return blocks; }

private:
    int chooseBlockSize()
    {
        // Mostly the sizes hosts use, often odd ones, now and then very long ones.
        const int bucket = std::uniform_int_distribution<int> (0, 9) (random);
        if (bucket < 6)
            return std::uniform_int_distribution<int> (1, 512) (random);
        if (bucket < 9)
            return std::uniform_int_distribution<int> (513, 4096) (random);
        return std::uniform_int_distribution<int> (4097, maxBlock) (random);
    }

    void fillInput (InputKind kind, int size)
    {
        std::uniform_real_distribution<float> sample (-1.0f, 1.0f);
        const int period = std::uniform_int_distribution<int> (2, 400) (random);
        for (auto& channel : inputs)
            for (int i = 0; i < size; ++i)
            {
                float value = 0.0f;
                switch (kind)
                {
                    case InputKind::noise:
                        value = sample (random);
                        break;
                    case InputKind::square:
                        value = (phase + i) % period < period / 2 ? 1.0f : -1.0f;
                        break;
                    case InputKind::notANumber:
                        value = i % 7 == 0 ? std::numeric_limits<float>::quiet_NaN() : sample (random);
                        break;
                    case InputKind::infinity:
                        value = i % 5 == 0 ? (i % 2 == 0 ? 1.0f : -1.0f) * std::numeric_limits<float>::infinity()
                                           : sample (random);
                        break;
                    case InputKind::denormal:
                        value = (i % 2 == 0 ? 1.0f : -1.0f) * std::numeric_limits<float>::denorm_min() *
                                static_cast<float> (1 + i % 1000);
                        break;
                    default:
                        break;
                }
                channel[static_cast<size_t> (i)] = value;
            }
        phase += size;
    }

    void run()
    {
        int longest = 0;
        InputKind kind = InputKind::noise;
        for (int index = 0; index < blocks && ! stopRequested.load (std::memory_order_acquire); ++index)
        {
            if (index % 8 == 0)
                kind = static_cast<InputKind> (
                    std::uniform_int_distribution<int> (0, static_cast<int> (InputKind::count) - 1) (random));
            int size = chooseBlockSize();
            if (keepWithinLongest.load (std::memory_order_acquire) && longest > 0)
                size = std::min (size, longest);
            fillInput (kind, size);

            const bool exempt = index < warmUpBlocks || size > longest;
            longest = std::max (longest, size);
            const long before = allocationsOnThisThread();
            instance.process (inputPointers.data(), outputPointers.data(), size);
            const long allocated = allocationsOnThisThread() - before;

            found.blocks = index + 1;
            found.samples += size;
            found.exempt += exempt ? 1 : 0;
            if (allocated > 0 && ! exempt)
            {
                if (index < steadyFrom.load (std::memory_order_acquire))
                {
                    found.handOverAllocations += allocated;
                    ++found.handOverBlocks;
                }
                else if (found.allocatingBlock < 0)
                {
                    found.allocatingBlock = index;
                    found.allocatingSize = size;
                    found.allocations = allocated;
                }
            }
            for (size_t channel = 0; channel < outputs.size() && found.badBlock < 0; ++channel)
                for (int i = 0; i < size; ++i)
                {
                    const float value = outputs[channel][static_cast<size_t> (i)];
                    const float in = inputs[channel][static_cast<size_t> (i)];
                    // A bypassed block passes its input through untouched, NaN and all.
                    const bool passedThrough = value == in || (std::isnan (value) && std::isnan (in));
                    if (! passedThrough && (! std::isfinite (value) || std::abs (value) > peakGuard * 1.0001f))
                    {
                        found.badBlock = index;
                        found.badSize = size;
                        found.badChannel = static_cast<int> (channel);
                        found.badValue = value;
                        found.badInput = in;
                        found.badSample = i;
                        lastInput = kind;
                        break;
                    }
                }
            blocksDone.store (index + 1, std::memory_order_release);
        }
        done.store (true, std::memory_order_release);
    }

public:
    InputKind lastInput = InputKind::noise;
    /** Blocks played so far, and the first block from which no response can be changing: from there
        on every allocation fails the run. */
    std::atomic<int> blocksDone{ 0 };
    std::atomic<int> steadyFrom{ std::numeric_limits<int>::max() };
    /** Set for the steady part: a longer block prepares the bands afresh on the audio thread, and
        their responses are chosen again on the main thread and loaded after it. */
    std::atomic<bool> keepWithinLongest{ false };
    /** Ends a run of unbounded length after the block under way. */
    std::atomic<bool> stopRequested{ false };

private:
    HostInstance& instance;
    std::mt19937 random;
    int blocks;
    int phase = 0;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<const float*> inputPointers;
    std::vector<float*> outputPointers;
    AudioFindings found;
    std::atomic<bool> done{ false };
    std::thread thread;
};
