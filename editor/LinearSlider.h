#pragma once

#include "LinearSliderLookAndFeel.h"

/** A gain fader drawn with its own LinearSliderLookAndFeel, without a text box. Users choose its
    style; it starts as a rotary slider. */
class LinearSlider : public juce::Slider
{
public:
    LinearSlider();
    ~LinearSlider() override;

private:
    LinearSliderLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LinearSlider)
};
