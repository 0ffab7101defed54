#include "KnobSlider.h"
#include "KnobArtwork.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr float pi = juce::MathConstants<float>::pi;

// A Trim knob as the band panel sets it up, on the trim parameter's range.
std::unique_ptr<KnobSlider> makeTrimKnob()
{
    auto knob = std::make_unique<KnobSlider>();
    knob->setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
    knob->lookAndFeel.knobScale = 0.8f;
    knob->setRange (-6.0, 6.0, 0.1);
    knob->setSize (150, 120);
    return knob;
}

int textWidth (const juce::String& text)
{
    return (int) std::ceil (juce::Font (15.0f).getStringWidthFloat (text));
}
} // namespace

TEST (KnobSliderTest, StartsAsARotaryKnobDrawnByItsOwnLookAndFeel)
{
    KnobSlider knob;
    EXPECT_EQ (&knob.getLookAndFeel(), &knob.lookAndFeel);
    EXPECT_EQ (knob.getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
    EXPECT_EQ (knob.lookAndFeel.knobScale, 0.09f);
    EXPECT_EQ (knob.lookAndFeel.knobColour, juce::Colour (0xFF000000));
    // The value pop-up shown while dragging.
    EXPECT_EQ (knob.findColour (juce::BubbleComponent::backgroundColourId), juce::Colour (0xFF000000));
}

TEST (KnobSliderTest, TrimScaleLabelsEveryMultipleOfSixDecibels)
{
    const juce::Point<float> centre (75.0f, 60.0f);
    const auto labels =
        KnobSliderLookAndFeel::layoutScale (centre, 40, -6.0, 6.0, 1.2f * pi, 2.8f * pi, juce::Font (15.0f));
    ASSERT_EQ (labels.size(), 3u);

    // Lower left: the box ends at the anchor x (about 51.5) and hangs below it from y = 92.
    const auto& low = labels[0];
    EXPECT_EQ (low.text, "-6dB");
    EXPECT_NEAR (low.anchor.x, 51.49f, 0.01f);
    EXPECT_EQ (low.box, juce::Rectangle<float> ((float) (int) (low.anchor.x - (float) textWidth ("-6dB")), 92.0f,
                                                (float) textWidth ("-6dB"), 10.0f));
    EXPECT_EQ (low.justification, juce::Justification::right);

    // Top: centred on x = 75, from y = 5.
    const auto& top = labels[1];
    EXPECT_EQ (top.text, "0");
    EXPECT_EQ (top.box, juce::Rectangle<float> ((float) (int) (75.0 - textWidth ("0") * 0.5), 5.0f,
                                                (float) textWidth ("0"), 10.0f));
    EXPECT_EQ (top.justification, juce::Justification::centred);

    // Lower right: from x = 98, y = 92.
    const auto& high = labels[2];
    EXPECT_EQ (high.text, "6dB");
    EXPECT_EQ (high.box, juce::Rectangle<float> (98.0f, 92.0f, (float) textWidth ("6dB"), 10.0f));
    EXPECT_EQ (high.justification, juce::Justification::right);

    for (const auto& label : labels)
        EXPECT_NEAR (label.anchor.getDistanceFrom (centre), 40.0f, 1e-3f) << label.text;
}

TEST (KnobSliderTest, LabelsOnTheAxesAreCentredOrMovedLevelWithTheirAnchor)
{
    const juce::Point<float> centre (75.0f, 60.0f);
    const juce::Font font (15.0f);

    // 0 to 24 over a half turn from a quarter turn: 0 on the right, 12dB at the bottom, 24dB on the left.
    const auto labels = KnobSliderLookAndFeel::layoutScale (centre, 40, 0.0, 24.0, 0.5f * pi, 1.5f * pi, font);
    ASSERT_EQ (labels.size(), 5u);

    // Right of the centre on its line: half a line below the anchor's row (60 + 7.5).
    EXPECT_EQ (labels[0].text, "0");
    EXPECT_EQ (labels[0].box.getPosition(), juce::Point<float> (115.0f, 67.0f));
    EXPECT_EQ (labels[2].text, "12dB");
    EXPECT_EQ (labels[2].box.getPosition(),
               juce::Point<float> ((float) (int) (75.0 - textWidth ("12dB") * 0.5), 100.0f));
    EXPECT_EQ (labels[2].justification, juce::Justification::centred);
    EXPECT_EQ (labels[4].text, "24dB");
    EXPECT_EQ (labels[4].box.getX(), (float) (int) (labels[4].anchor.x - (float) textWidth ("24dB")));

    // A range without width has no scale.
    EXPECT_TRUE (KnobSliderLookAndFeel::layoutScale (centre, 40, 3.0, 3.0, 1.2f * pi, 2.8f * pi, font).empty());
}

TEST (KnobSliderTest, PaintsItsLabelsInWhite)
{
    auto knob = makeTrimKnob();
    knob->setValue (0.0);
    const auto image = knob->createComponentSnapshot (knob->getLocalBounds());

    const auto labels =
        KnobSliderLookAndFeel::layoutScale ({ 75.0f, 60.0f }, 40, -6.0, 6.0, 1.2f * pi, 2.8f * pi, juce::Font (15.0f));
    for (const auto& label : labels)
    {
        const auto area =
            label.box.expanded (0.0f, 3.0f).getSmallestIntegerContainer().getIntersection (image.getBounds());
        int whitePixels = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (image.getPixelAt (x, y) == juce::Colours::white)
                    ++whitePixels;
        EXPECT_GT (whitePixels, 3) << label.text;
    }

    // The knob keeps its 80 pixel size whatever the slider's size: the corners stay empty.
    EXPECT_EQ (image.getPixelAt (1, 1).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (148, 1).getAlpha(), 0);
}

TEST (KnobSliderTest, TurnsWithTheValueAndKeepsTheLightingStill)
{
    auto knob = makeTrimKnob();
    knob->setValue (-6.0);
    const auto low = knob->createComponentSnapshot (knob->getLocalBounds());
    knob->setValue (6.0);
    const auto high = knob->createComponentSnapshot (knob->getLocalBounds());

    int differing = 0;
    for (int y = 20; y < 100; ++y)
        for (int x = 35; x < 115; ++x)
            if (low.getPixelAt (x, y) != high.getPixelAt (x, y))
                ++differing;
    EXPECT_GT (differing, 0);
}
