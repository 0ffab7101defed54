#include "ConvolutionEqAudioProcessorEditor.h"

#include "ConvolutionEqAudioProcessor.h"

ConvolutionEqAudioProcessorEditor::ConvolutionEqAudioProcessorEditor (ConvolutionEqAudioProcessor& p,
                                                                      juce::AudioProcessorValueTreeState& state)
    : juce::AudioProcessorEditor (p)
    , processor (p)
    , valueTreeState (state)
{
    setSize (width, height);
}

ConvolutionEqAudioProcessorEditor::~ConvolutionEqAudioProcessorEditor()
{
    setLookAndFeel (nullptr);
}

void ConvolutionEqAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (backgroundArgb));
}

void ConvolutionEqAudioProcessorEditor::resized() {}
