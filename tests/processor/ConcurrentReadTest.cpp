#include "ParameterSettings.h"
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// Block processing reads the cached values and the level compensation on the audio thread while
// the message thread loads states and applies presets. The reads must be race-free and only ever
// see finite values that some parameter actually held.
TEST (ConcurrentReads, AudioThreadReadsWhileStatesAndPresetsAreApplied)
{
    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
    processor.setRateAndBufferSizeDetails (48000.0, 256);

    ConvolutionEqAudioProcessor source;
    setPlainValue (source, "input_level", 6.0f);
    setPlainValue (source, "active_2_1", 0.0f);
    juce::MemoryBlock edited;
    source.getStateInformation (edited);
    juce::MemoryBlock defaults;
    ConvolutionEqAudioProcessor().getStateInformation (defaults);

    std::atomic<bool> running{ true };
    std::atomic<int> badReads{ 0 };
    std::thread audio (
        [&]
        {
            while (running.load())
            {
                for (int i = 0; i < ConvolutionEqAudioProcessor::numCachedValues; ++i)
                    if (! std::isfinite (processor.currentValue ((ConvolutionEqAudioProcessor::CachedValue) i)))
                        ++badReads;

                const auto level = processor.getLevelCompensation();
                if (level != 0.0f && level != -12.4f)
                    ++badReads;
            }
        });

    const auto& presets = processor.getPresetStore().presets;
    for (int round = 0; round < 200; ++round)
    {
        const auto& block = round % 2 == 0 ? edited : defaults;
        processor.setStateInformation (block.getData(), (int) block.getSize());
        applyParameterValues (*presets.getChildElement (1 + round % 7), processor);
        processor.getABSnapshot().swapWithCurrent();
    }

    running = false;
    audio.join();
    EXPECT_EQ (badReads.load(), 0);
}
