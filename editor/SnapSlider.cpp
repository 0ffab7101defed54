#include "SnapSlider.h"

#include <cmath>

SnapSlider::SnapSlider (float scaleOfKnob, juce::Colour knob, juce::Colour label)
    : knobScale (scaleOfKnob)
    , knobColour (knob)
    , labelColour (label)
{
    setLookAndFeel (&lookAndFeel);
    lookAndFeel.knobScale = knobScale;
    lookAndFeel.knobColour = knobColour;
    lookAndFeel.labelColour = labelColour;

    setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    setMouseDragSensitivity (200);
}

SnapSlider::~SnapSlider()
{
    setLookAndFeel (nullptr);
}

void SnapSlider::setSnapTable (const juce::Array<float>& table)
{
    scale.table = table;
    lookAndFeel.scale.table = scale.table;
    repaint();
}

void SnapSlider::setBetweenSteps (SnapSliderScale::BetweenSteps rule)
{
    scale.betweenSteps = rule;
    lookAndFeel.scale.betweenSteps = rule;
    repaint();
}

double SnapSlider::proportionOfLengthToValue (double proportion)
{
    // An entry's own proportion gives the entry back exactly, not a rounding error beside it.
    auto position = proportion * (double) scale.size() - 0.5;
    const auto nearestEntry = std::round (position);
    if (std::abs (position - nearestEntry) < 1.0e-9)
        position = nearestEntry;

    return scale.valueAt (position);
}

double SnapSlider::valueToProportionOfLength (double value)
{
    const int n = scale.size();
    if (n == 0)
        return 0.0;

    return (scale.shownPosition (value) + 0.5) / (double) n;
}

double SnapSlider::snapValue (double attemptedValue, DragMode dragMode)
{
    if (! turning || scale.size() == 0)
        return scale.firstNotBelow (attemptedValue);

    // JUCE moves the knob from where the value at the press is shown, through
    // proportionOfLengthToValue; the distance from there counts the steps.
    const double moved = scale.position (attemptedValue) - scale.shownPosition (valueAtPress);
    int steps = 0;
    if (dragMode == notDragging) // a wheel notch
        steps = moved > 0.0 ? 1 : (moved < 0.0 ? -1 : 0);
    else
        steps = (int) std::lround (moved);

    return scale.stepFrom (valueAtPress, steps);
}

void SnapSlider::startedDragging()
{
    turning = true;
    valueAtPress = getValue();
}

void SnapSlider::stoppedDragging()
{
    turning = false;
}
