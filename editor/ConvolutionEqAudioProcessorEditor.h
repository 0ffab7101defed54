#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class ConvolutionEqAudioProcessor;

/** The plug-in's window: a fixed 800 x 518 editor that the processor creates whenever the host
    shows the plug-in's interface. It refers to the processor and its value-tree state and owns
    nothing of them. */
class ConvolutionEqAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    ConvolutionEqAudioProcessorEditor (ConvolutionEqAudioProcessor& processor,
                                       juce::AudioProcessorValueTreeState& valueTreeState);
    ~ConvolutionEqAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    static constexpr int width = 800;
    static constexpr int height = 518;
    static constexpr juce::uint32 backgroundArgb = 0xFF231E1A;

private:
    ConvolutionEqAudioProcessor& processor;
    juce::AudioProcessorValueTreeState& valueTreeState;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ConvolutionEqAudioProcessorEditor)
};
