#include "LinearSliderLookAndFeel.h"

#include "Artwork.h"
#include "SvgDrawable.h"

#include <cmath>

namespace
{
const juce::Colour grey (0xFF808080);
constexpr double scaleTop = 12.0; // dB at the first tick
constexpr float capScale = 0.1f;

bool isTwoValue (juce::Slider::SliderStyle style)
{
    return style == juce::Slider::TwoValueVertical || style == juce::Slider::TwoValueHorizontal;
}

bool isThreeValue (juce::Slider::SliderStyle style)
{
    return style == juce::Slider::ThreeValueVertical || style == juce::Slider::ThreeValueHorizontal;
}

// Strokes a track segment twice, so that a grey rim stays round the inner colour.
void strokeGrooved (juce::Graphics& g, juce::Point<float> from, juce::Point<float> to, float trackWidth,
                    juce::Colour inner)
{
    juce::Path track;
    track.startNewSubPath (from);
    track.lineTo (to);
    g.setColour (grey);
    g.strokePath (track, { trackWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded });
    g.setColour (inner);
    g.strokePath (track, { trackWidth - 2.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded });
}
} // namespace

LinearSliderLookAndFeel::LinearSliderLookAndFeel()
{
    setColour (juce::Slider::trackColourId, juce::Colour (0xFF333333));
    setColour (juce::Slider::backgroundColourId, juce::Colour (0xFF333333));
    setColour (juce::BubbleComponent::backgroundColourId, juce::Colours::black);
}

juce::String LinearSliderLookAndFeel::scaleLabel (double decibels)
{
    if (decibels == -96.0)
        return juce::String ("-") + juce::String::charToString ((juce::juce_wchar) 0x221E);
    return juce::String ((juce::int64) decibels);
}

void LinearSliderLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                                float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                                juce::Slider& slider)
{
    drawScale (g, y, width, height, slider);

    if (slider.isBar())
    {
        g.setColour (slider.findColour (juce::Slider::trackColourId));
        g.fillRect (slider.isHorizontal() ? juce::Rectangle<float> ((float) x, (float) y + 0.5f, sliderPos - (float) x,
                                                                    (float) height - 1.0f)
                                          : juce::Rectangle<float> ((float) x + 0.5f, sliderPos, (float) width - 1.0f,
                                                                    (float) y + ((float) height - sliderPos)));
        return;
    }

    const auto twoValue = isTwoValue (style);
    const auto threeValue = isThreeValue (style);
    const auto horizontal = slider.isHorizontal();

    const auto trackWidth = juce::jmin (6.0f, horizontal ? (float) height * 0.25f : (float) width * 0.25f);
    const juce::Point<float> startPoint (horizontal ? (float) x : (float) x + (float) width * 0.5f,
                                         horizontal ? (float) y + (float) height * 0.5f : (float) (height + y));
    const juce::Point<float> endPoint (horizontal ? (float) (width + x) : startPoint.x,
                                       horizontal ? startPoint.y : (float) y);
    strokeGrooved (g, startPoint, endPoint, trackWidth, slider.findColour (juce::Slider::backgroundColourId));

    juce::Point<float> minPoint, maxPoint, thumbPoint;
    if (twoValue || threeValue)
    {
        minPoint = { horizontal ? minSliderPos : (float) width * 0.5f,
                     horizontal ? (float) height * 0.5f : minSliderPos };
        if (threeValue)
            thumbPoint = { horizontal ? sliderPos : (float) width * 0.5f,
                           horizontal ? (float) height * 0.5f : sliderPos };
        maxPoint = { horizontal ? maxSliderPos : (float) width * 0.5f,
                     horizontal ? (float) height * 0.5f : maxSliderPos };
    }
    else
    {
        minPoint = startPoint;
        maxPoint = { horizontal ? sliderPos : (float) x + (float) width * 0.5f,
                     horizontal ? (float) y + (float) height * 0.5f : sliderPos };
    }

    const auto valuePoint = threeValue ? thumbPoint : maxPoint;
    strokeGrooved (g, minPoint, valuePoint, trackWidth, slider.findColour (juce::Slider::trackColourId));

    if (! twoValue)
        drawCap (g, valuePoint);

    if (twoValue || threeValue)
    {
        const auto sr = juce::jmin (trackWidth, (horizontal ? (float) height : (float) width) * 0.4f);
        const auto pointerColour = slider.findColour (juce::Slider::thumbColourId);

        if (horizontal)
        {
            drawPointer (g, minSliderPos - sr, juce::jmax (0.0f, (float) y + (float) height * 0.5f - trackWidth * 2.0f),
                         trackWidth * 2.0f, pointerColour, 2);
            drawPointer (g, maxSliderPos - trackWidth,
                         juce::jmin ((float) (y + height) - trackWidth * 2.0f, (float) y + (float) height * 0.5f),
                         trackWidth * 2.0f, pointerColour, 4);
        }
        else
        {
            drawPointer (g, juce::jmax (0.0f, (float) x + (float) width * 0.5f - trackWidth * 2.0f),
                         minSliderPos - trackWidth, trackWidth * 2.0f, pointerColour, 1);
            drawPointer (g, juce::jmin ((float) (x + width) - trackWidth * 2.0f, (float) x + (float) width * 0.5f),
                         maxSliderPos - sr, trackWidth * 2.0f, pointerColour, 3);
        }
    }
}

void LinearSliderLookAndFeel::visitScale (juce::Slider& slider, int y, int width, int height,
                                          const std::function<void (const ScaleMark&)>& visit)
{
    // The ticks sit round the slider's centre line, measured from its own left edge.
    const auto tickLeft = (double) width * 0.5 - 2.0;
    const juce::Rectangle<double> longTick (tickLeft, (double) y, 8.0, 1.0);
    const juce::Rectangle<double> shortTick (tickLeft, (double) y, 4.0, 1.0);
    const juce::Font font (labelFontHeight);
    const auto range = slider.getMaximum() - slider.getMinimum();

    // A label every 12 dB down to -36, then only one at the bottom.
    for (int i = 0; (double) i <= range; ++i)
    {
        ScaleMark mark;
        mark.decibels = scaleTop - (double) i;
        const auto offset = (1.0 - slider.valueToProportionOfLength (mark.decibels)) * (double) height;
        const auto period = i > 48 ? (int) range : 12;
        mark.major = period != 0 && i % period == 0;

        if (mark.major)
        {
            const auto right = longTick.translated (5.0, offset);
            const auto left = longTick.translated (-10.0, offset);
            mark.rightTick = right.toFloat();
            mark.leftTick = left.toFloat();
            mark.label = scaleLabel (mark.decibels);
            const auto labelWidth = (int) std::ceil (font.getStringWidthFloat (mark.label));
            const auto top = (int) (right.getBottom() - (double) labelFontHeight * 0.5);
            mark.leftLabelBox = { (int) (left.getX() - labelWidth - 4.0), top, labelWidth, 10 };
            mark.rightLabelBox = { (int) (right.getX() + 3.0 + 7.0), top, labelWidth, 10 };
        }
        else
        {
            mark.rightTick = shortTick.translated (9.0, offset).toFloat();
            mark.leftTick = shortTick.translated (-10.0, offset).toFloat();
        }
        visit (mark);
    }
}

void LinearSliderLookAndFeel::drawScale (juce::Graphics& g, int y, int width, int height, juce::Slider& slider)
{
    g.setColour (grey);
    g.setFont (labelFontHeight);
    visitScale (slider, y, width, height,
                [&g] (const ScaleMark& mark)
                {
                    g.fillRect (mark.rightTick);
                    g.fillRect (mark.leftTick);
                    if (mark.major)
                    {
                        g.drawText (mark.label, mark.leftLabelBox, juce::Justification::right, true);
                        g.drawText (mark.label, mark.rightLabelBox, juce::Justification::left, true);
                    }
                });
}

juce::Drawable& LinearSliderLookAndFeel::capArtwork()
{
    if (cap == nullptr)
    {
        cap = parseSvgDrawable (juce::String::fromUTF8 (Artwork::slider));
        cap->setTransform (juce::AffineTransform::scale (capScale));
    }
    return *cap;
}

// The cap's top left, for drawing it centred on the value point in whole pixels.
juce::Point<float> LinearSliderLookAndFeel::capOrigin (juce::Point<float> valuePoint)
{
    auto& artwork = capArtwork();
    const auto halfWidth = (int) ((float) artwork.getWidth() * capScale) / 2;
    const auto halfHeight = (int) ((float) artwork.getHeight() * capScale) / 2;
    return { valuePoint.x - (float) halfWidth, valuePoint.y - (float) halfHeight };
}

juce::Rectangle<int> LinearSliderLookAndFeel::capBounds (juce::Point<float> valuePoint)
{
    auto& artwork = capArtwork();
    const auto origin = capOrigin (valuePoint);
    return juce::Rectangle<float> (origin.x, origin.y, (float) artwork.getWidth() * capScale,
                                   (float) artwork.getHeight() * capScale)
        .getSmallestIntegerContainer();
}

int LinearSliderLookAndFeel::getSliderPopupPlacement (juce::Slider& slider)
{
    if (slider.isHorizontal())
        return juce::BubbleComponent::above | juce::BubbleComponent::below;
    return juce::BubbleComponent::left | juce::BubbleComponent::right;
}

void LinearSliderLookAndFeel::drawCap (juce::Graphics& g, juce::Point<float> valuePoint)
{
    const auto origin = capOrigin (valuePoint);
    capArtwork().drawAt (g, origin.x, origin.y, 1.0f);
}
