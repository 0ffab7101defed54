#pragma once

#include "HostInstance.h"
#include "SteadyBlockCount.h"

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
    /** Blocks that the plug-in processed, not the host's bypass, from the first block on which no
        response can be changing: every one checked for allocations. */
    int steadyBlocks = 0;
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

const char* describeInput (InputKind kind);

/** One insert played on a real-time thread of its own: random block sizes from 1 to maxBlock,
    hostile input, and the output and the thread's allocations checked after every block. Nothing
    on that thread allocates but the plug-in. It plays blockCount blocks and then goes on until the
    plug-in has processed steadyBlockCount blocks from steadyFrom on, or until it is asked to stop:
    the audio thread is much faster than the main thread that decides when responses have settled. */
class ValidationAudioRun
{
public:
    ValidationAudioRun (HostInstance& insert, unsigned long seed, int blockCount, int steadyBlockCount = 0);

    void start();
    void join();

    bool finished() const noexcept { return done.load (std::memory_order_acquire); }
    const AudioFindings& findings() const noexcept { return found; }
    int steadyBlocksWanted() const noexcept { return steadyCount.wanted(); }

private:
    int chooseBlockSize();
    void fillInput (InputKind kind, int size);
    void run();

public:
    InputKind lastInput = InputKind::noise;
    /** Blocks played so far, and the first block from which no response can be changing: from there
        on every allocation fails the run. */
    std::atomic<int> blocksDone{ 0 };
    std::atomic<int> steadyFrom{ std::numeric_limits<int>::max() };
    /** findings().steadyBlocks so far. */
    std::atomic<int> steadyBlocksChecked{ 0 };
    /** The host's bypass as the main thread last set it: the framework's bypassed path runs in
        place of the plug-in's processing, so those blocks are checked but not counted. A block
        either side of a change may be counted wrongly. */
    std::atomic<bool> hostBypassed{ false };
    /** Set for the steady part: a longer block prepares the bands afresh on the audio thread, and
        their responses are chosen again on the main thread and loaded after it. */
    std::atomic<bool> keepWithinLongest{ false };
    /** Ends the run after the block under way, however many blocks it has checked. */
    std::atomic<bool> stopRequested{ false };

private:
    HostInstance& instance;
    std::mt19937 random;
    int blocks;
    SteadyBlockCount steadyCount;
    int phase = 0;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<const float*> inputPointers;
    std::vector<float*> outputPointers;
    AudioFindings found;
    std::atomic<bool> done{ false };
    std::thread thread;
};
