#include "LinearSlider.h"

LinearSlider::LinearSlider()
{
    setLookAndFeel (&lookAndFeel);
    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);

    setColour (juce::Slider::textBoxBackgroundColourId, juce::Colours::black);
    setColour (juce::Slider::textBoxTextColourId, juce::Colour (0xFF4ECAEE));
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0xFFFFFFFF));
    setColour (juce::Slider::backgroundColourId, juce::Colour (0xFF333333));

    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
}

LinearSlider::~LinearSlider()
{
    setLookAndFeel (nullptr);
}

// The framework points the pop-up at the middle of the whole slider whenever it shows or updates
// it; each of those paths ends here, and the pop-up is moved to the cap.
void LinearSlider::mouseDown (const juce::MouseEvent& e)
{
    juce::Slider::mouseDown (e);
    placePopupBesideCap();
}

void LinearSlider::mouseMove (const juce::MouseEvent& e)
{
    juce::Slider::mouseMove (e);
    placePopupBesideCap();
}

void LinearSlider::mouseEnter (const juce::MouseEvent& e)
{
    juce::Slider::mouseEnter (e);
    placePopupBesideCap();
}

void LinearSlider::valueChanged()
{
    placePopupBesideCap();
}

void LinearSlider::placePopupBesideCap()
{
    auto* bubble = dynamic_cast<juce::BubbleComponent*> (getCurrentPopupDisplay());
    if (bubble == nullptr || ! (isHorizontal() || isVertical()) || isTwoValue() || isThreeValue())
        return;

    const auto track = getLookAndFeel().getSliderLayout (*this).sliderBounds;
    const auto position = getPositionOfValue (getValue());
    const auto valuePoint = isHorizontal()
                                ? juce::Point<float> (position, (float) track.getY() + (float) track.getHeight() * 0.5f)
                                : juce::Point<float> ((float) track.getX() + (float) track.getWidth() * 0.5f, position);
    const auto cap = lookAndFeel.capBounds (valuePoint);

    if (auto* parent = bubble->getParentComponent())
        bubble->setPosition (parent->getLocalArea (this, cap));
    else
        bubble->setPosition (localAreaToGlobal (cap).transformedBy (bubble->getTransform().inverted()));
    bubble->repaint();
}
