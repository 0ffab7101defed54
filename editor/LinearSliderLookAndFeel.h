#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

/** Draws the editor's gain faders: a dB scale with ticks and labels on both sides of a grooved
    track, and the "slider" artwork as the fader cap. */
class LinearSliderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    LinearSliderLookAndFeel();

    void drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle style, juce::Slider& slider) override;

    /** The scale's label for a value in dB: a whole number, or minus infinity at -96 dB. */
    static juce::String scaleLabel (double decibels);

    /** One whole-dB step of the scale, on both sides of the track. Major steps carry a label,
        drawn right-aligned in the left box and left-aligned in the right one. */
    struct ScaleMark
    {
        double decibels = 0.0;
        bool major = false;
        juce::Rectangle<float> leftTick, rightTick;
        juce::String label;
        juce::Rectangle<int> leftLabelBox, rightLabelBox;
    };

    /** Visits the scale's marks from the top (+12 dB) down, one per dB for as many steps as the
        slider's range is long, for a slider drawn in the area at y with this width and height. */
    static void visitScale (juce::Slider& slider, int y, int width, int height,
                            const std::function<void (const ScaleMark&)>& visit);

    /** The fader cap's area when it is drawn at this value point. */
    juce::Rectangle<int> capBounds (juce::Point<float> valuePoint);

    /** Beside the fader: left or right of a vertical one, above or below a horizontal one. */
    int getSliderPopupPlacement (juce::Slider& slider) override;

    static constexpr float labelFontHeight = 12.0f;

private:
    static void drawScale (juce::Graphics& g, int y, int width, int height, juce::Slider& slider);
    void drawCap (juce::Graphics& g, juce::Point<float> valuePoint);
    juce::Drawable& capArtwork();
    juce::Point<float> capOrigin (juce::Point<float> valuePoint);

    /** The cap's artwork never changes, so it is parsed once and kept. */
    std::unique_ptr<juce::Drawable> cap;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LinearSliderLookAndFeel)
};
