#include "PushButton.h"

PushButton::PushButton (const juce::String& name)
    : PrimaryClickButton<juce::TextButton> (name)
{
    setLookAndFeel (&lookAndFeel);
}

PushButton::~PushButton()
{
    setLookAndFeel (nullptr);
}

void PushButton::PushButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                                              const juce::Colour& backgroundColour, bool, bool)
{
    if (button.getWidth() > 1 && button.getHeight() > 1)
        g.fillAll (backgroundColour);
}
