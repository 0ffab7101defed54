// The stand-in renders on its real-time thread while its main thread automates parameters,
// chooses presets, saves and loads chunks, pumps JUCE's messages and prepares the insert
// again, as a busy host session does. Run under ThreadSanitizer.

#include "AAX_Errors.h"
#include "EndToEndFixture.h"
#include "InsertRenderer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace endtoend;

TEST_F (EndToEnd, RenderingWhileTheMainThreadAutomatesAndSavesStaysConsistent)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);

    const auto input = testSignal (static_cast<int> (sampleRate) * 4);
    const char* presets[] = { "Natural Thump", "Top End", "Big Synth" };
    int turn = 0;
    int saves = 0;
    HostProject lastSaved;

    InsertRenderer renderer;
    renderer.blockSize = 256;
    renderer.onMainThread = [&]
    {
        ++turn;
        const double position = (turn % 20) / 20.0;
        EXPECT_EQ (insert->automate ("gain_L", position), AAX_SUCCESS);
        EXPECT_EQ (insert->automate ("frequency_1_2", 1.0 - position), AAX_SUCCESS);
        EXPECT_EQ (insert->automate ("MasterBypassID", turn % 7 == 0 ? 1.0 : 0.0), AAX_SUCCESS);
        if (turn % 5 == 0)
        {
            EXPECT_EQ (insert->selectPreset (presets[(turn / 5) % 3]), AAX_SUCCESS);
        }
        if (turn % 3 == 0)
        {
            EXPECT_EQ (insert->saveChunks (lastSaved), AAX_SUCCESS);
            ++saves;
        }
        if (turn % 11 == 0 && ! lastSaved.chunks.empty())
        {
            EXPECT_EQ (insert->loadChunks (lastSaved), AAX_SUCCESS);
        }
        if (turn % 17 == 0)
        {
            EXPECT_EQ (insert->prepareAgain(), AAX_SUCCESS);
        }
    };

    juce::AudioBuffer<float> rendered;
    renderer.render (*insert, input, rendered);

    EXPECT_TRUE (allFinite (rendered));
    EXPECT_EQ (rendered.getNumSamples(), input.getNumSamples());
}

TEST_F (EndToEnd, TwoInsertsRenderAtTheSameTime)
{
    auto first = makeInstance();
    auto second = makeInstance();
    ASSERT_NE (first, nullptr);
    ASSERT_NE (second, nullptr);
    ASSERT_EQ (second->selectPreset ("Bring Forward"), AAX_SUCCESS);

    const auto input = testSignal (static_cast<int> (sampleRate));
    juce::AudioBuffer<float> fromSecond;
    InsertRenderer renderer;
    renderer.onMainThread = [&] { second->idle(); };

    std::thread other ([&] { processDirectly (*second, input, 512); });
    juce::AudioBuffer<float> fromFirst;
    renderer.render (*first, input, fromFirst);
    other.join();
    EXPECT_TRUE (allFinite (fromFirst));
}

// Each change of block length makes the plug-in re-prepare on the real-time thread at the rate the
// main thread's preparation set.
TEST_F (EndToEnd, PreparingAgainWhileBlockLengthsChange)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);

    const auto input = testSignal (256);
    juce::AudioBuffer<float> output (2, 256);
    std::atomic<bool> stop{ false };

    std::thread audio (
        [&]
        {
            const float* inputs[] = { input.getReadPointer (0), input.getReadPointer (1) };
            float* outputs[] = { output.getWritePointer (0), output.getWritePointer (1) };
            for (int block = 0; ! stop.load(); ++block)
                insert->process (inputs, outputs, block % 2 == 0 ? 128 : 256);
        });

    for (int i = 0; i < 20; ++i)
    {
        EXPECT_EQ (insert->prepareAgain(), AAX_SUCCESS);
        insert->idle();
    }
    stop = true;
    audio.join();
    EXPECT_TRUE (allFinite (output));
}
