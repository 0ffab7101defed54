#include "KnobSlider.h"

KnobSlider::KnobSlider()
{
    setLookAndFeel (&lookAndFeel);
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
}

KnobSlider::~KnobSlider()
{
    setLookAndFeel (nullptr);
}
