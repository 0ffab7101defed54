#pragma once

#include "LinearSliderLookAndFeel.h"

#include <optional>

/** A gain fader drawn with its own LinearSliderLookAndFeel, without a text box. Users choose its
    style; it starts as a rotary slider. */
class LinearSlider : public juce::Slider
{
public:
    LinearSlider();
    ~LinearSlider() override;

    /** Shows the value pop-up inside the editor, beside the fader cap, while dragging and on hover,
        until hoverTimeoutMs after the mouse stops. */
    void enableValuePopup (int hoverTimeoutMs);

    void mouseDown (const juce::MouseEvent&) override;
    void mouseMove (const juce::MouseEvent&) override;
    void mouseEnter (const juce::MouseEvent&) override;
    void valueChanged() override;

private:
    void parentHierarchyChanged() override;
    void placePopupBesideCap();

    LinearSliderLookAndFeel lookAndFeel;
    std::optional<int> popupHoverTimeout;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LinearSlider)
};
