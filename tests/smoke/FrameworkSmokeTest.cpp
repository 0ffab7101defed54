#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

TEST (FrameworkSmoke, AudioBufferHoldsSamples)
{
    juce::AudioBuffer<float> buffer (2, 16);
    buffer.clear();
    buffer.setSample (1, 3, 0.5f);
    EXPECT_EQ (buffer.getSample (1, 3), 0.5f);
}
