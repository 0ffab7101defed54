#include "SnapSliderLookAndFeel.h"

#include "KnobArtwork.h"

#include <cmath>

SnapSliderLookAndFeel::~SnapSliderLookAndFeel() = default;

juce::String SnapSliderLookAndFeel::scaleText (float value)
{
    const float thousands = value / 1000.0f;
    if (thousands >= 1.0f)
        return juce::String (thousands) + "k";

    return juce::String (std::abs (value));
}

double SnapSliderLookAndFeel::angleStep (float start, float end) const noexcept
{
    const int n = scale.size();
    if (n < 2)
        return 0.0;

    return std::abs ((double) (end - start) / ((double) n - 1.0));
}

float SnapSliderLookAndFeel::pointerAngle (double value, float start, float end) const noexcept
{
    return (float) (scale.shownPosition (value) * angleStep (start, end) + start);
}

std::vector<ScaleLabel> SnapSliderLookAndFeel::layoutScale (juce::Point<float> centre, int labelRadius, float start,
                                                            float end, const juce::Font& font) const
{
    const int n = scale.size();
    const double step = angleStep (start, end);

    std::vector<ScaleLabel> labels;
    labels.reserve ((size_t) n);

    for (int i = 0; i < n; ++i)
    {
        ScaleLabel label;
        const auto angle = (float) (i * step + start);
        label.anchor = KnobArtwork::pointOnCircle (centre, (float) (labelRadius - 4), angle);
        label.text = scaleText (scale.table.getUnchecked (i));

        const int textWidth = (int) std::ceil (font.getStringWidthFloat (label.text));
        int boxX = 0;
        if (i == n / 2)
            boxX = (int) (centre.x - (float) (textWidth / 2));
        else if (label.anchor.x < centre.x)
            boxX = (int) (label.anchor.x - (float) textWidth);
        else
            boxX = (int) label.anchor.x;

        const int boxY = (int) (label.anchor.y - fontHeight * 0.5f);
        label.box = { (float) boxX, (float) boxY, (float) textWidth, 10.0f };
        label.justification = juce::Justification::centred;
        labels.push_back (label);
    }

    return labels;
}

void SnapSliderLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float,
                                              float start, float end, juce::Slider& slider)
{
    const juce::Point<float> centre ((float) x + (float) width * 0.5f, (float) y + (float) height * 0.5f);

    auto& pointer = artwork->pointer (knobColour);
    const int radius = KnobArtwork::labelRadius (pointer, knobScale);

    // The scale first, so that the knob covers whatever of it reaches under the knob's rim.
    g.setFont (fontHeight);
    g.setColour (labelColour);
    for (const auto& label : layoutScale (centre, radius, start, end, g.getCurrentFont()))
        g.drawText (label.text, label.box, label.justification, true);

    const auto topLeft = KnobArtwork::topLeftFor (pointer, centre, knobScale);
    KnobArtwork::drawPointer (g, pointer, pointerAngle (slider.getValue(), start, end), knobScale, topLeft);

    KnobArtwork::drawDetail (g, artwork->detail(), knobScale, topLeft);
}
