#pragma once

#include "KnobSliderLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

/** The band's continuous Trim knob. Range, interval and value come from its parameter's
    attachment. */
class KnobSlider : public juce::Slider
{
public:
    KnobSlider();
    ~KnobSlider() override;

    /** Shows the value pop-up inside the editor while dragging and on hover, until hoverTimeoutMs
        after the mouse stops. */
    void enableValuePopup (int hoverTimeoutMs);

    /** Public so that the band panel can set the knob scale. */
    KnobSliderLookAndFeel lookAndFeel;

private:
    void parentHierarchyChanged() override;

    std::optional<int> popupHoverTimeout;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobSlider)
};
