#pragma once

#include "EditorPopupSlider.h"
#include "KnobSliderLookAndFeel.h"

/** The band's continuous Trim knob. Range, interval and value come from its parameter's
    attachment. */
class KnobSlider : public EditorPopupSlider
{
public:
    KnobSlider();
    ~KnobSlider() override;

    /** Public so that the band panel can set the knob scale. */
    KnobSliderLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobSlider)
};
