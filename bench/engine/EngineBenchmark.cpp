// The FFT against FFTW (single precision, complex, in place, FFTW_MEASURE) and the engine slot
// against juce::dsp::Convolution in its zero-latency default and against a uniformly partitioned
// FFTW convolution, on the same impulse, input and blocks. Built a second time with
// LARKSPUR_BENCH_JUCE_FFTW, against a JUCE build that runs its FFTs on FFTW, it times only
// that convolution. bench/run runs both and prints the side-by-side tables.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <juce_dsp/juce_dsp.h>

#if ! LARKSPUR_BENCH_JUCE_FFTW
#include <fftw3.h>

#include "EngineSlot.h"
#include "SplitRadixFft.h"
#include "UniformConvolution.h"
#endif

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int audioLength = 48000; // one second of stereo audio per iteration

std::vector<float> noise (size_t n, unsigned seed)
{
    std::mt19937 rng (seed);
    std::uniform_real_distribution<float> dist (-1.0f, 1.0f);
    std::vector<float> v (n);
    for (auto& x : v)
        x = dist (rng);
    return v;
}

#if ! LARKSPUR_BENCH_JUCE_FFTW
// ---- FFT ----------------------------------------------------------------------------------------

// The transform does not scale, so the data is refreshed every fourth call to keep it finite.
void fftOurs (benchmark::State& state, int n)
{
    fftInitTwiddles();
    const auto source = noise ((size_t) 2 * n, 1);
    auto* data = static_cast<float*> (fftwf_malloc (sizeof (float) * 2 * (size_t) n));
    std::memcpy (data, source.data(), sizeof (float) * 2 * (size_t) n);
    unsigned count = 0;
    for (auto _ : state)
    {
        if ((++count & 3) == 0)
            std::memcpy (data, source.data(), sizeof (float) * 2 * (size_t) n);
        fftDispatch (data, n, 0);
        benchmark::DoNotOptimize (data);
        benchmark::ClobberMemory();
    }
    fftwf_free (data);
    state.counters["size"] = n;
}

void fftFftw (benchmark::State& state, int n)
{
    const auto source = noise ((size_t) 2 * n, 1);
    auto* data = static_cast<fftwf_complex*> (fftwf_malloc (sizeof (fftwf_complex) * (size_t) n));
    // same sign convention as ours: e^{+2 pi i k n / N}
    fftwf_plan plan = fftwf_plan_dft_1d (n, data, data, FFTW_BACKWARD, FFTW_MEASURE);
    std::memcpy (data, source.data(), sizeof (float) * 2 * (size_t) n);
    unsigned count = 0;
    for (auto _ : state)
    {
        if ((++count & 3) == 0)
            std::memcpy (data, source.data(), sizeof (float) * 2 * (size_t) n);
        fftwf_execute (plan);
        benchmark::DoNotOptimize (data);
        benchmark::ClobberMemory();
    }
    fftwf_destroy_plan (plan);
    fftwf_free (data);
    state.counters["size"] = n;
}

#endif

// ---- Convolution --------------------------------------------------------------------------------

juce::AudioBuffer<float> makeImpulse (int length)
{
    // decaying noise with unit energy, like a measured response
    const auto raw = noise ((size_t) length, 7);
    juce::AudioBuffer<float> h (1, length);
    double energy = 0.0;
    for (int i = 0; i < length; ++i)
    {
        const float v = raw[(size_t) i] * std::exp (-5.0f * (float) i / (float) length);
        h.setSample (0, i, v);
        energy += (double) v * v;
    }
    h.applyGain ((float) (1.0 / std::sqrt (energy)));
    return h;
}

struct StereoInput
{
    std::vector<float> left = noise (audioLength, 11), right = noise (audioLength, 12);
};

// Block length 0 stands for a stream of random lengths from 1 to 1024, the same for every contender.
constexpr int randomBlocks = 0;
constexpr int largestBlock = 1024;

const std::vector<int>& blockLengths (int blockSize)
{
    static const std::vector<int> random = []
    {
        std::mt19937 rng (5);
        std::uniform_int_distribution<int> dist (1, largestBlock);
        std::vector<int> lengths;
        for (int total = 0; total < audioLength;)
        {
            const int n = std::min (dist (rng), audioLength - total);
            lengths.push_back (n);
            total += n;
        }
        return lengths;
    }();
    static std::vector<int> fixed;
    if (blockSize == randomBlocks)
        return random;
    fixed.assign ((size_t) (audioLength / blockSize), blockSize);
    return fixed;
}

int capacityFor (int blockSize)
{
    return blockSize == randomBlocks ? largestBlock : blockSize;
}

template <class ProcessBlock>
void runAudio (benchmark::State& state, int blockSize, ProcessBlock&& processBlock)
{
    static const StereoInput input;
    const std::vector<int> lengths = blockLengths (blockSize);
    juce::AudioBuffer<float> block (2, capacityFor (blockSize));
    int processed = 0;
    for (int n : lengths)
        processed += n;
    for (auto _ : state)
    {
        int pos = 0;
        for (int n : lengths)
        {
            block.copyFrom (0, 0, input.left.data() + pos, n);
            block.copyFrom (1, 0, input.right.data() + pos, n);
            processBlock (block, n);
            pos += n;
        }
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
    const double seconds = (double) processed / sampleRate;
    state.counters["realtime"] =
        benchmark::Counter (seconds * (double) state.iterations(), benchmark::Counter::kIsRate);
}

// Runs a few seconds of silence in the benchmark's own block lengths, so that every buffer has grown.
template <class ProcessBlock>
void warmUp (int blockSize, ProcessBlock&& processBlock)
{
    juce::AudioBuffer<float> warm (2, capacityFor (blockSize));
    for (int round = 0; round < 4; ++round)
        for (int n : blockLengths (blockSize))
        {
            warm.clear();
            processBlock (warm, n);
        }
}

#if ! LARKSPUR_BENCH_JUCE_FFTW
void convolutionOurs (benchmark::State& state, int impulseLength, int blockSize)
{
    const auto impulse = makeImpulse (impulseLength);
    EngineSlot slot (&impulse);
    slot.setMaximumBlockSize (capacityFor (blockSize));
    auto processBlock = [&] (juce::AudioBuffer<float>& b, int n) { slot.process (b.getArrayOfWritePointers(), 2, n); };
    warmUp (blockSize, processBlock);
    runAudio (state, blockSize, processBlock);
}

void convolutionUniform (benchmark::State& state, int impulseLength, int blockSize)
{
    const auto impulse = makeImpulse (impulseLength);
    UniformConvolution conv (impulse.getReadPointer (0), impulseLength, 2,
                             blockSize != randomBlocks && blockSize % UniformConvolution::partitionSize == 0);
    auto processBlock = [&] (juce::AudioBuffer<float>& b, int n) { conv.process (b.getArrayOfWritePointers(), n); };
    warmUp (blockSize, processBlock);
    runAudio (state, blockSize, processBlock);
}
#endif

void convolutionJuce (benchmark::State& state, int impulseLength, int blockSize)
{
#if LARKSPUR_BENCH_JUCE_FFTW
    // JUCE falls back to its own FFT silently when it cannot load FFTW.
    juce::DynamicLibrary fftw;
    if (! fftw.open ("libfftw3f.so"))
    {
        state.SkipWithError ("libfftw3f.so not found");
        return;
    }
#endif
    juce::dsp::Convolution conv;
    conv.prepare ({ sampleRate, (juce::uint32) capacityFor (blockSize), 2 });
    auto impulse = makeImpulse (impulseLength);
    conv.loadImpulseResponse (std::move (impulse), sampleRate, juce::dsp::Convolution::Stereo::no,
                              juce::dsp::Convolution::Trim::no, juce::dsp::Convolution::Normalise::no);

    auto processBlock = [&] (juce::AudioBuffer<float>& b, int n)
    {
        juce::dsp::AudioBlock<float> audio (b.getArrayOfWritePointers(), 2, (size_t) n);
        conv.process (juce::dsp::ProcessContextReplacing<float> (audio));
    };
    // wait until the background loader has installed the impulse, then let the cross-fade finish
    juce::AudioBuffer<float> warm (2, capacityFor (blockSize));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (30);
    while (conv.getCurrentIRSize() != impulseLength && std::chrono::steady_clock::now() < deadline)
    {
        warm.clear();
        processBlock (warm, capacityFor (blockSize));
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    if (conv.getCurrentIRSize() != impulseLength)
    {
        state.SkipWithError ("impulse never loaded");
        return;
    }
    warmUp (blockSize, processBlock);
    runAudio (state, blockSize, processBlock);
}
} // namespace

int main (int argc, char** argv)
{
    const auto blockName = [] (int block)
    { return block == randomBlocks ? std::string ("random") : std::to_string (block); };
    for (int length : { 64, 576, 1152, 4096 })
    {
        for (int block : { 32, 64, 256, 1024, randomBlocks })
        {
            const std::string suffix = std::to_string (length) + "/" + blockName (block);
#if LARKSPUR_BENCH_JUCE_FFTW
            benchmark::RegisterBenchmark (("convolution/juce_fftw/" + suffix).c_str(), convolutionJuce, length, block)
                ->Unit (benchmark::kMillisecond);
#else
            benchmark::RegisterBenchmark (("convolution/ours/" + suffix).c_str(), convolutionOurs, length, block)
                ->Unit (benchmark::kMillisecond);
            benchmark::RegisterBenchmark (("convolution/juce/" + suffix).c_str(), convolutionJuce, length, block)
                ->Unit (benchmark::kMillisecond);
            benchmark::RegisterBenchmark (("convolution/uniform_fftw/" + suffix).c_str(), convolutionUniform, length,
                                          block)
                ->Unit (benchmark::kMillisecond);
#endif
        }
    }
#if ! LARKSPUR_BENCH_JUCE_FFTW
    for (int n = 64; n <= 32768; n *= 2)
    {
        benchmark::RegisterBenchmark (("fft/ours/" + std::to_string (n)).c_str(), fftOurs, n);
        benchmark::RegisterBenchmark (("fft/fftw/" + std::to_string (n)).c_str(), fftFftw, n);
    }
#endif

    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
