// Processes stereo noise through the whole processor with all six bands active, at 44.1, 48 and 96 kHz
// in blocks of 64, 256 and 1024 samples, and reports how many seconds of audio one CPU second
// processes ("realtime").
#include "ConvolutionEqAudioProcessor.h"
#include "ProcessUserFolder.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
// The processor's constructor creates its presets file; keep it out of the user's folder.
void useTemporaryUserFolder()
{
    static const ProcessUserFolder folder ("larkspur-bench");
}

void setPlain (ConvolutionEqAudioProcessor& processor, const char* id, float value)
{
    auto* parameter = processor.getValueTreeState().getParameter (id);
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

void processStereo (benchmark::State& state)
{
    const double sampleRate = (double) state.range (0);
    const int blockSize = (int) state.range (1);

    juce::ScopedJuceInitialiser_GUI framework;
    useTemporaryUserFolder();
    auto processor = std::make_unique<ConvolutionEqAudioProcessor>();

    // Every band active with a boost or cut, so that none runs a trivial response.
    setPlain (*processor, "gain_1_1", 6.0f);
    setPlain (*processor, "gain_1_2", -4.0f);
    setPlain (*processor, "gain_1_3", 9.0f);
    setPlain (*processor, "gain_2_1", -2.0f);
    setPlain (*processor, "gain_2_2", 12.0f);
    setPlain (*processor, "gain_2_3", -9.0f);
    setPlain (*processor, "process_A", 0.0f);
    setPlain (*processor, "process_M", 1.0f);

    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);

    // Blocks cut from a second of noise; copying one in is counted, and is small beside the bands.
    juce::AudioBuffer<float> noise (2, (int) sampleRate);
    juce::Random random (1);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < noise.getNumSamples(); ++i)
            noise.setSample (ch, i, 0.25f * (random.nextFloat() - 0.5f));

    juce::AudioBuffer<float> block (2, blockSize);
    juce::MidiBuffer midi;
    int position = 0;
    auto processNext = [&]
    {
        if (position + blockSize > noise.getNumSamples())
            position = 0;
        for (int ch = 0; ch < 2; ++ch)
            block.copyFrom (ch, 0, noise, ch, position, blockSize);
        position += blockSize;
        processor->processBlock (block, midi);
    };

    // Past the first block, which loads every band's response.
    for (int i = 0; i < 16; ++i)
        processNext();

    for (auto _ : state)
    {
        processNext();
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }

    state.counters["realtime"] =
        benchmark::Counter ((double) blockSize / sampleRate * (double) state.iterations(), benchmark::Counter::kIsRate);
    processor.reset();
}
} // namespace

BENCHMARK (processStereo)
    ->ArgNames ({ "rate", "block" })
    ->ArgsProduct ({ { 44100, 48000, 96000 }, { 64, 256, 1024 } })
    ->Unit (benchmark::kMicrosecond);

BENCHMARK_MAIN();
