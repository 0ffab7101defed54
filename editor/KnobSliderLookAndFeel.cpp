#include "KnobSliderLookAndFeel.h"

#include "KnobArtwork.h"

#include <cmath>

KnobSliderLookAndFeel::KnobSliderLookAndFeel()
{
    setColour (juce::BubbleComponent::backgroundColourId, juce::Colours::black);
}

KnobSliderLookAndFeel::~KnobSliderLookAndFeel() = default;

std::vector<ScaleLabel> KnobSliderLookAndFeel::layoutScale (juce::Point<float> centre, int labelRadius, double minimum,
                                                            double maximum, float start, float end,
                                                            const juce::Font& font)
{
    std::vector<ScaleLabel> labels;

    const double span = std::abs (juce::jmax (maximum, minimum) - minimum);
    if (! (span > 0.0))
        return labels;

    const double anglePerUnit = std::abs ((double) (end - start) / span);
    const float textHeight = fontHeight;

    for (int k = 0; k <= span; ++k)
    {
        const double value = minimum + k;
        if ((int) value % 6 != 0)
            continue;

        ScaleLabel label;
        const auto angle = (float) (k * anglePerUnit + start);
        label.anchor = KnobArtwork::pointOnCircle (centre, (float) labelRadius, angle);
        label.text = juce::String (value) + ((int) value != 0 ? "dB" : "");

        const int textWidth = (int) std::ceil (font.getStringWidthFloat (label.text));
        int boxX = label.anchor.x < centre.x ? (int) (label.anchor.x - (float) textWidth) : (int) label.anchor.x;
        int boxY = label.anchor.y < centre.y ? (int) (label.anchor.y - textHeight) : (int) label.anchor.y;
        label.justification = juce::Justification::right;

        // On the vertical axis the text is centred over the anchor; on the horizontal one it is
        // moved down by half a line, so that it sits level with the anchor.
        if (std::floor (std::abs (label.anchor.x - centre.x)) == 0.0f)
        {
            boxX = (int) ((double) centre.x - textWidth * 0.5);
            label.justification = juce::Justification::centred;
        }

        if (std::floor (std::abs (label.anchor.y - centre.y)) == 0.0f ||
            std::floor (std::abs (label.anchor.y - centre.y + 1.0f)) == 0.0f)
            boxY = (int) (textHeight * 0.5f + (float) boxY);

        label.box = { (float) boxX, (float) boxY, (float) textWidth, 10.0f };
        labels.push_back (label);
    }

    return labels;
}

void KnobSliderLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                              float start, float end, juce::Slider& slider)
{
    const juce::Point<float> centre ((float) x + (float) width * 0.5f, (float) y + (float) height * 0.5f);
    const float angle = start + sliderPos * (end - start);

    auto& pointer = artwork->pointer (knobColour);
    const auto topLeft = KnobArtwork::topLeftFor (pointer, centre, knobScale);
    KnobArtwork::drawPointer (g, pointer, angle, knobScale, topLeft);

    // Over the knob: the labels stand close to its rim.
    g.setFont (fontHeight);
    g.setColour (juce::Colours::white);
    for (const auto& label : layoutScale (centre, KnobArtwork::labelRadius (pointer, knobScale), slider.getMinimum(),
                                          slider.getMaximum(), start, end, g.getCurrentFont()))
        g.drawText (label.text, label.box, label.justification, true);

    KnobArtwork::drawDetail (g, artwork->detail(), knobScale, topLeft);
}
