#include "KnobSlider.h"

#include "EditorValuePopup.h"

KnobSlider::KnobSlider()
{
    setLookAndFeel (&lookAndFeel);
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
}

KnobSlider::~KnobSlider()
{
    setLookAndFeel (nullptr);
}

void KnobSlider::enableValuePopup (int hoverTimeoutMs)
{
    popupHoverTimeout = hoverTimeoutMs;
    showValuePopupInEditor (*this, hoverTimeoutMs);
}

void KnobSlider::parentHierarchyChanged()
{
    if (popupHoverTimeout)
        showValuePopupInEditor (*this, *popupHoverTimeout);
}
