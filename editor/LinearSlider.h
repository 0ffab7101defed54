#pragma once

#include "EditorPopupSlider.h"
#include "LinearSliderLookAndFeel.h"

/** A gain fader drawn with its own LinearSliderLookAndFeel, without a text box, whose value pop-up
    sits beside its cap. Users choose its style; it starts as a rotary slider. */
class LinearSlider : public EditorPopupSlider
{
public:
    LinearSlider();
    ~LinearSlider() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseMove (const juce::MouseEvent&) override;
    void mouseEnter (const juce::MouseEvent&) override;
    void valueChanged() override;

private:
    void placePopupBesideCap();

    LinearSliderLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LinearSlider)
};
