#include "StateLookAndFeel.h"

namespace state
{
StateLookAndFeel::StateLookAndFeel()
{
    const juce::Colour black (juce::Colours::black);
    const juce::Colour greyText (greyTextArgb);

    setColour (juce::TextButton::buttonOnColourId, black);
    setColour (juce::TextButton::buttonColourId, black);
    setColour (juce::TextButton::textColourOnId, juce::Colours::white);
    setColour (juce::TextButton::textColourOffId, juce::Colours::white);
    setColour (juce::TextEditor::highlightColourId, juce::Colour (highlightArgb));
    setColour (juce::TextEditor::backgroundColourId, black);
    setColour (juce::ComboBox::textColourId, greyText);
    setColour (juce::ComboBox::backgroundColourId, black);
    setColour (juce::ComboBox::buttonColourId, black);
    setColour (juce::PopupMenu::backgroundColourId, black);
    setColour (juce::PopupMenu::textColourId, greyText);
}
} // namespace state
