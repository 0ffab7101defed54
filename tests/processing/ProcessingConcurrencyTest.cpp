#include "ProcessingReference.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace processing_test;

// JUCE's threads at once: the audio thread processes blocks under the callback lock and
// now and then prepares for a longer block there; the message thread changes parameters, loads
// states, runs the reselections and prepares under the callback lock; a third thread stands for the
// editor's band controls, selecting responses straight on the convolver sets.
TEST (ProcessingConcurrency, BlocksSelectionsStateLoadsAndPreparationsTogether)
{
    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
    prepare (processor, 48000.0, 256);

    juce::MemoryBlock state;
    setPlainValue (processor, "frequency_1_1", 300.0f);
    processor.getStateInformation (state);

    std::atomic<bool> stop{ false };
    std::atomic<int> blocks{ 0 }, selections{ 0 };

    std::thread audio (
        [&]
        {
            juce::AudioBuffer<float> block (2, 1024);
            juce::MidiBuffer midi;
            juce::Random random (1);
            int longest = 256;
            while (! stop.load())
            {
                const int n = 1 + random.nextInt (longest);
                for (int ch = 0; ch < 2; ++ch)
                    for (int i = 0; i < n; ++i)
                        block.setSample (ch, i, random.nextFloat() - 0.5f);

                juce::AudioBuffer<float> view (block.getArrayOfWritePointers(), 2, n);
                const juce::ScopedLock lock (processor.getCallbackLock());
                if (blocks.load() % 97 == 96 && longest < 1024)
                {
                    longest *= 2;
                    processor.prepareToPlay (processor.getSampleRate(), longest);
                }
                processor.processBlock (view, midi);
                blocks.fetch_add (1);
            }
        });

    std::thread editor (
        [&]
        {
            juce::Random random (2);
            const char* types[] = { "PK", "LP", "HP" };
            while (! stop.load())
            {
                if (auto set = processor.getConvolverSet (1 + random.nextInt (2)))
                    set->getBand (random.nextInt (3))
                        ->selectImpulse (50.0 + random.nextInt (15000), types[random.nextInt (3)],
                                         random.nextInt (25) - 12.0);
                selections.fetch_add (1);
                std::this_thread::yield();
            }
        });

    juce::Random random (3);
    for (int round = 0; round < 60; ++round)
    {
        const int channel = 1 + random.nextInt (2), band = 1 + random.nextInt (3);
        const auto suffix = "_" + juce::String (channel) + "_" + juce::String (band);
        auto& frequency = parameter (processor, "frequency" + suffix);
        frequency.setValueNotifyingHost (random.nextFloat());
        setPlainValue (processor, "gain" + suffix, (float) (random.nextInt (25) - 12));
        parameter (processor, "type" + suffix).setValueNotifyingHost (random.nextBool() ? 1.0f : 0.0f);
        setPlainValue (processor, "input_level", random.nextBool() ? 6.0f : 0.0f);
        runMessageLoop();

        if (round % 20 == 10)
        {
            const double rate = round % 40 == 10 ? 44100.0 : 48000.0;
            const juce::ScopedLock lock (processor.getCallbackLock());
            processor.setRateAndBufferSizeDetails (rate, 256);
            processor.prepareToPlay (rate, 256);
        }
        if (round % 15 == 7)
            processor.setStateInformation (state.getData(), (int) state.getSize());

        // Let the other threads get some work in between.
        const int target = blocks.load() + 3;
        while (blocks.load() < target)
            std::this_thread::yield();
    }

    stop.store (true);
    audio.join();
    editor.join();
    runMessageLoop();

    EXPECT_GT (blocks.load(), 180);
    EXPECT_GT (selections.load(), 0);
}
