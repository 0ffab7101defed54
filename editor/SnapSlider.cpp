#include "SnapSlider.h"

#include <algorithm>

SnapSlider::SnapSlider (float scale, juce::Colour knob, juce::Colour label)
    : knobScale (scale)
    , knobColour (knob)
    , labelColour (label)
{
    setLookAndFeel (&lookAndFeel);
    lookAndFeel.knobScale = knobScale;
    lookAndFeel.showDetail = showDetail;
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
    snapTable = table;
    lookAndFeel.snapTable = snapTable;
    repaint();
}

double SnapSlider::proportionOfLengthToValue (double proportion)
{
    const int n = snapTable.size();
    auto x = (float) (n * proportion);
    if (x == (float) n)
        x -= 1.0f;

    const auto index = (int) x;
    return juce::isPositiveAndBelow (index, n) ? (double) snapTable.getUnchecked (index) : 0.0;
}

double SnapSlider::valueToProportionOfLength (double value)
{
    const int n = snapTable.size();
    if (n == 0)
        return 0.0;

    return (double) ((float) snapTable.indexOf ((float) value) / (float) n);
}

double SnapSlider::snapValue (double attemptedValue, DragMode)
{
    if (snapTable.isEmpty())
        return attemptedValue;

    const auto found = std::lower_bound (snapTable.begin(), snapTable.end(), attemptedValue,
                                         [] (float entry, double value) { return (double) entry < value; });
    return found != snapTable.end() ? (double) *found : (double) snapTable.getLast();
}
