#pragma once

#include "PrimaryClickButton.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A text button that draws its background as one flat fill of its background colour. The stepped
    knob lays them over its scale values, with every colour transparent, as invisible click areas;
    like the editor's other buttons, they answer the primary mouse button only. */
class PushButton : public PrimaryClickButton<juce::TextButton>
{
public:
    explicit PushButton (const juce::String& name);
    ~PushButton() override;

    class PushButtonLookAndFeel : public juce::LookAndFeel_V4
    {
    public:
        void drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                   bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    };

private:
    PushButtonLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PushButton)
};
