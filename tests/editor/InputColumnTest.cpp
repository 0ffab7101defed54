#include "ConvolutionEqAudioProcessor.h"
#include "InputControllerComponent.h"
#include "LinearSlider.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const juce::String minusInfinity = juce::String ("-") + juce::String::charToString ((juce::juce_wchar) 0x221E);

struct ScaleCase
{
    double minimum, maximum;
    std::vector<juce::String> labels;
    int marks;
};

std::vector<LinearSliderLookAndFeel::ScaleMark> scaleOf (juce::Slider& slider, int y, int width, int height)
{
    std::vector<LinearSliderLookAndFeel::ScaleMark> marks;
    LinearSliderLookAndFeel::visitScale (slider, y, width, height,
                                         [&] (const LinearSliderLookAndFeel::ScaleMark& m) { marks.push_back (m); });
    return marks;
}

class InputColumnTest : public ::testing::Test
{
protected:
    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    juce::AudioProcessorValueTreeState& state = processor.getValueTreeState();
};
} // namespace

TEST (LinearSliderScaleTest, LabelsEveryTwelveDecibelsThenTheBottomOfTheRange)
{
    const ScaleCase cases[] = {
        { -96.0, 12.0, { "12", "0", "-12", "-24", "-36", minusInfinity }, 109 },
        { -12.0, 12.0, { "12", "0", "-12" }, 25 },
        { -48.0, 12.0, { "12", "0", "-12", "-24", "-36", "-48" }, 61 },
        { -40.5, 12.0, { "12", "0", "-12", "-24", "-36", "-40" }, 53 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.minimum);
        LinearSlider slider;
        slider.setSliderStyle (juce::Slider::LinearVertical);
        slider.setRange (c.minimum, c.maximum);

        std::vector<juce::String> labels;
        const auto marks = scaleOf (slider, 12, 65, 276);
        for (const auto& mark : marks)
            if (mark.major)
                labels.push_back (mark.label);
            else
                EXPECT_TRUE (mark.label.isEmpty());

        EXPECT_EQ (labels, c.labels);
        EXPECT_EQ ((int) marks.size(), c.marks);
        EXPECT_EQ (marks.front().decibels, 12.0);
        EXPECT_EQ (marks.back().decibels, 12.0 - (double) (c.marks - 1));
    }
}

TEST (LinearSliderScaleTest, TicksAndLabelBoxesSitEitherSideOfTheTrack)
{
    LinearSlider slider;
    slider.setSliderStyle (juce::Slider::LinearVertical);
    slider.setRange (-96.0, 12.0);
    const int y = 12, width = 65, height = 276;
    const auto centre = (float) width * 0.5f;
    const juce::Font font (LinearSliderLookAndFeel::labelFontHeight);

    for (const auto& mark : scaleOf (slider, y, width, height))
    {
        SCOPED_TRACE (mark.decibels);
        const auto row = (float) y + (float) ((1.0 - slider.valueToProportionOfLength (mark.decibels)) * height);
        EXPECT_FLOAT_EQ (mark.leftTick.getY(), row);
        EXPECT_FLOAT_EQ (mark.rightTick.getY(), row);
        EXPECT_EQ (mark.leftTick.getHeight(), 1.0f);
        EXPECT_FLOAT_EQ (mark.leftTick.getX(), centre - 12.0f);
        EXPECT_FLOAT_EQ (mark.rightTick.getRight(), centre + 11.0f);
        EXPECT_FLOAT_EQ (mark.leftTick.getRight(), centre - (mark.major ? 4.0f : 8.0f));
        EXPECT_FLOAT_EQ (mark.rightTick.getX(), centre + (mark.major ? 3.0f : 7.0f));

        if (mark.major) // labels outside the ticks, as wide as their text, centred on the tick row
        {
            const auto labelWidth = (int) std::ceil (font.getStringWidthFloat (mark.label));
            EXPECT_EQ (mark.leftLabelBox.getWidth(), labelWidth);
            EXPECT_EQ (mark.rightLabelBox.getWidth(), labelWidth);
            EXPECT_LE ((float) mark.leftLabelBox.getRight(), mark.leftTick.getX() - 3.0f);
            EXPECT_GE ((float) mark.rightLabelBox.getX(), mark.rightTick.getRight() + 1.0f);
            EXPECT_NEAR ((float) mark.leftLabelBox.getY() + 6.0f, row + 1.0f, 1.0f);
        }
    }
    EXPECT_EQ (LinearSliderLookAndFeel::scaleLabel (-96.0), minusInfinity);
}

TEST_F (InputColumnTest, FaderSettlesInTheMiddleOfItsColumnWithItsCaptionAbove)
{
    InputControllerComponent column (state);
    EXPECT_EQ (column.getBounds(), juce::Rectangle<int> (0, 0, 65, 488));

    column.setBounds (15, 30, 65, 480);
    auto& fader = column.getFader();
    EXPECT_EQ (fader.getBounds(), juce::Rectangle<int> (0, 90, 65, 300));
    EXPECT_EQ (fader.getSliderStyle(), juce::Slider::LinearVertical);
    EXPECT_EQ (fader.getTextBoxPosition(), juce::Slider::NoTextBox);
    EXPECT_EQ (fader.getRange(), juce::Range<double> (-96.0, 12.0));

    const auto& caption = column.getCaption();
    EXPECT_EQ (caption.getText(), "Input");
    EXPECT_EQ (caption.getParentComponent(), &column);
    EXPECT_EQ (caption.getX(), 0);
    EXPECT_EQ (caption.getWidth(), 65);
    EXPECT_EQ (caption.getBottom(), 90);
    EXPECT_EQ (caption.getJustificationType(), juce::Justification::centred);
    EXPECT_EQ (caption.findColour (juce::Label::textColourId), juce::Colour (0xFFD3D3D3));
}

TEST_F (InputColumnTest, FaderFollowsInputLevelBothWays)
{
    InputControllerComponent column (state);
    setPlainValue (processor, "input_level", -40.0f);
    EXPECT_NEAR (column.getFader().getValue(), -40.0, 1.0e-4);

    column.getFader().setValue (6.0, juce::sendNotificationSync);
    EXPECT_NEAR (plainValue (processor, "input_level"), 6.0f, 1.0e-4f);
}

TEST_F (InputColumnTest, DrawsTheTrackInTheColumnColoursBelowTheCap)
{
    InputControllerComponent column (state);
    column.setBounds (15, 30, 65, 480);
    setPlainValue (processor, "input_level", 6.0f);

    auto& fader = column.getFader();
    const auto valueY = (int) fader.getPositionOfValue (6.0);
    const auto image = fader.createComponentSnapshot (fader.getLocalBounds());
    const int centre = fader.getWidth() / 2;

    EXPECT_EQ (image.getPixelAt (centre, valueY - 30).getARGB(), 0xFF333333u); // above the cap: the groove
    EXPECT_EQ (image.getPixelAt (centre, valueY + 30).getARGB(), 0xFF6C7277u); // below it: the track colour

    // The labels are drawn: something grey inside the left box of the 12 dB label.
    bool labelled = false;
    LinearSliderLookAndFeel::visitScale (
        fader, 12, fader.getWidth(), fader.getHeight() - 24,
        [&] (const LinearSliderLookAndFeel::ScaleMark& mark)
        {
            if (mark.label != "12")
                return;
            for (int x = mark.leftLabelBox.getX(); x < mark.leftLabelBox.getRight(); ++x)
                for (int y = mark.leftLabelBox.getY(); y < mark.leftLabelBox.getBottom(); ++y)
                    labelled = labelled || image.getPixelAt (x, y).getAlpha() > 0;
        });
    EXPECT_TRUE (labelled);
}
