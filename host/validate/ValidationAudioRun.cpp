#include "ValidationAudioRun.h"

#include "ThreadAllocationCount.h"

#include <algorithm>
#include <cmath>

const char* describeInput (InputKind kind)
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

ValidationAudioRun::ValidationAudioRun (HostInstance& insert, unsigned long seed, int blockCount, int steadyBlockCount)
    : instance (insert)
    , random (seed)
    , blocks (blockCount)
    , steadyCount (steadyBlockCount)
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

void ValidationAudioRun::start()
{
    thread = std::thread ([this] { run(); });
}

void ValidationAudioRun::join()
{
    if (thread.joinable())
        thread.join();
}

int ValidationAudioRun::chooseBlockSize()
{
    // Mostly the sizes hosts use, often odd ones, now and then very long ones.
    const int bucket = std::uniform_int_distribution<int> (0, 9) (random);
    if (bucket < 6)
        return std::uniform_int_distribution<int> (1, 512) (random);
    if (bucket < 9)
        return std::uniform_int_distribution<int> (513, 4096) (random);
    return std::uniform_int_distribution<int> (4097, maxBlock) (random);
}

void ValidationAudioRun::fillInput (InputKind kind, int size)
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

void ValidationAudioRun::run()
{
    int longest = 0;
    InputKind kind = InputKind::noise;
    for (int index = 0; (index < blocks || ! steadyCount.reached()) && ! stopRequested.load (std::memory_order_acquire);
         ++index)
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
        const bool steady = steadyCount.take (index, exempt, steadyFrom.load (std::memory_order_acquire),
                                              hostBypassed.load (std::memory_order_acquire));
        found.steadyBlocks = steadyCount.count();
        if (allocated > 0 && ! exempt)
        {
            if (! steady)
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
        steadyBlocksChecked.store (found.steadyBlocks, std::memory_order_release);
        blocksDone.store (index + 1, std::memory_order_release);
    }
    done.store (true, std::memory_order_release);
}
