#include "LinearSlider.h"

LinearSlider::LinearSlider()
{
    setLookAndFeel (&lookAndFeel);
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);

    setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::black);
    setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xFF4ECAEE));
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0xFFFFFFFF));
    setColour (juce::Slider::backgroundColourId, juce::Colour (0xFF333333));

    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
}

LinearSlider::~LinearSlider()
{
    setLookAndFeel (nullptr);
}
