#pragma once

#include "KnobSliderLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The band's continuous Trim knob. Range, interval and value come from its parameter's
    attachment. */
class KnobSlider : public juce::Slider
{
public:
    KnobSlider();
    ~KnobSlider() override;

    /** Public so that the band panel can set the knob scale. */
    KnobSliderLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobSlider)
};
