#pragma once

#include "KnobArtworkCache.h"
#include "ScaleLabel.h"
#include "SnapSliderScale.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** Draws a stepped knob: the table's values written round it as a scale, the knob turned to where
    the slider's value stands (an entry's own angle, or between two entries as SnapSliderScale
    places the value), and the fixed lighting over it. The owning SnapSlider fills the fields. */
class SnapSliderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    SnapSliderLookAndFeel() = default;
    ~SnapSliderLookAndFeel() override;

    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    /** The text of a table value on the scale and on its value button: thousands as "1.5k", others
        without their sign ("12" for -12; the knob's "+" and "-" labels mark the halves). */
    static juce::String scaleText (float value);

    /** The angle between two neighbouring entries; 0 with fewer than two entries. */
    double angleStep (float rotaryStartAngle, float rotaryEndAngle) const noexcept;

    /** The pointer's angle for the value: an entry's scale angle, or between two of them. */
    float pointerAngle (double value, float rotaryStartAngle, float rotaryEndAngle) const noexcept;

    /** The scale labels of a knob centred on centre whose art has the given label radius. */
    std::vector<ScaleLabel> layoutScale (juce::Point<float> centre, int labelRadius, float rotaryStartAngle,
                                         float rotaryEndAngle, const juce::Font& font) const;

    static constexpr float fontHeight = 15.0f;

    float knobScale = 1.0f;
    juce::Colour knobColour;
    juce::Colour labelColour;
    SnapSliderScale scale;

    /** The parsed knob artwork, shared with the other knobs. */
    juce::SharedResourcePointer<KnobArtworkCache> artwork;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnapSliderLookAndFeel)
};
