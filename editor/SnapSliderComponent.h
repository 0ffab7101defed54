#pragma once

#include "PushButton.h"
#include "SnapSlider.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A stepped knob as the band panel places it: the knob, its unit labels ("Hz", or "+" and "-"),
    and an invisible button over each scale value, so that a click on a value turns the knob to it.
    The button of the value the knob stands on lies behind the knob, so the knob itself takes
    clicks there. */
class SnapSliderComponent : public juce::Component, public juce::Button::Listener, public juce::Slider::Listener
{
public:
    static constexpr int frequencyKind = 1;
    static constexpr int gainKind = 2;

    /** kind: frequencyKind or gainKind, which decides the unit labels. The parent sets the bounds. */
    SnapSliderComponent (int kind, float knobScale, juce::Colour knobColour, juce::Colour labelColour);
    ~SnapSliderComponent() override;

    /** Gives the knob its detents, ascending. Call once, before the component is laid out or shown:
        each call scales the drag sensitivity by the table's length again. */
    void setSnapValues (juce::Array<float> newValues);

    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void sliderValueChanged (juce::Slider* changed) override;

private:
    int kind;
    juce::Array<float> values;

public:
    /** The knob; the band panel attaches its parameter to it and listens to it. */
    SnapSlider slider;

private:
    juce::Label firstLabel;
    juce::Label secondLabel;
    juce::OwnedArray<PushButton> valueButtons;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnapSliderComponent)
};
