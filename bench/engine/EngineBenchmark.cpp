// The FFT against FFTW (single precision, complex, in place, FFTW_MEASURE) and the engine slot
// against juce::dsp::Convolution (zero-latency default and NonUniform{64}) on the same impulse,
// input and blocks. bench/run prints the side-by-side table.

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <juce_dsp/juce_dsp.h>

#include "EngineSlot.h"
#include "SplitRadixFft.h"

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

template <class ProcessBlock>
void runAudio (benchmark::State& state, int blockSize, ProcessBlock&& processBlock)
{
    static const StereoInput input;
    juce::AudioBuffer<float> block (2, blockSize);
    for (auto _ : state)
    {
        for (int pos = 0; pos + blockSize <= audioLength; pos += blockSize)
        {
            block.copyFrom (0, 0, input.left.data() + pos, blockSize);
            block.copyFrom (1, 0, input.right.data() + pos, blockSize);
            processBlock (block);
        }
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
    const double seconds = (double) (audioLength / blockSize * blockSize) / sampleRate;
    state.counters["realtime"] =
        benchmark::Counter (seconds * (double) state.iterations(), benchmark::Counter::kIsRate);
}

void convolutionOurs (benchmark::State& state, int impulseLength, int blockSize)
{
    const auto impulse = makeImpulse (impulseLength);
    EngineSlot slot (&impulse);
    // warm up: the first blocks allocate the stages' buffers
    juce::AudioBuffer<float> warm (2, blockSize);
    for (int i = 0; i < 4 * 65536 / blockSize; ++i)
    {
        warm.clear();
        slot.process (warm.getArrayOfWritePointers(), 2, blockSize);
    }
    runAudio (state, blockSize,
              [&] (juce::AudioBuffer<float>& b) { slot.process (b.getArrayOfWritePointers(), 2, blockSize); });
}

void convolutionJuce (benchmark::State& state, int impulseLength, int blockSize, bool nonUniform)
{
    auto conv = nonUniform ? std::make_unique<juce::dsp::Convolution> (juce::dsp::Convolution::NonUniform{ 64 })
                           : std::make_unique<juce::dsp::Convolution>();
    conv->prepare ({ sampleRate, (juce::uint32) blockSize, 2 });
    auto impulse = makeImpulse (impulseLength);
    conv->loadImpulseResponse (std::move (impulse), sampleRate, juce::dsp::Convolution::Stereo::no,
                               juce::dsp::Convolution::Trim::no, juce::dsp::Convolution::Normalise::no);

    juce::AudioBuffer<float> warm (2, blockSize);
    auto processBlock = [&] (juce::AudioBuffer<float>& b)
    {
        juce::dsp::AudioBlock<float> audio (b);
        conv->process (juce::dsp::ProcessContextReplacing<float> (audio));
    };
    // wait until the background loader has installed the impulse, then let the cross-fade finish
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (30);
    while (conv->getCurrentIRSize() != impulseLength && std::chrono::steady_clock::now() < deadline)
    {
        warm.clear();
        processBlock (warm);
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    if (conv->getCurrentIRSize() != impulseLength)
    {
        state.SkipWithError ("impulse never loaded");
        return;
    }
    for (int i = 0; i < (int) (0.2 * sampleRate) / blockSize + 4; ++i)
    {
        warm.clear();
        processBlock (warm);
    }
    runAudio (state, blockSize, processBlock);
}
} // namespace

int main (int argc, char** argv)
{
    for (int n = 16; n <= 32768; n *= 2)
    {
        benchmark::RegisterBenchmark (("fft/ours/" + std::to_string (n)).c_str(), fftOurs, n);
        benchmark::RegisterBenchmark (("fft/fftw/" + std::to_string (n)).c_str(), fftFftw, n);
    }
    for (int length : { 576, 1152, 100000 })
    {
        for (int block : { 64, 256, 1024 })
        {
            const std::string suffix = std::to_string (length) + "/" + std::to_string (block);
            benchmark::RegisterBenchmark (("convolution/ours/" + suffix).c_str(), convolutionOurs, length, block)
                ->Unit (benchmark::kMillisecond);
            benchmark::RegisterBenchmark (("convolution/juce_zero_latency/" + suffix).c_str(), convolutionJuce, length,
                                          block, false)
                ->Unit (benchmark::kMillisecond);
            benchmark::RegisterBenchmark (("convolution/juce_nonuniform64/" + suffix).c_str(), convolutionJuce, length,
                                          block, true)
                ->Unit (benchmark::kMillisecond);
        }
    }

    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
