#pragma once

#include "KnobArtworkCache.h"
#include "ScaleLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

/** Draws the continuous trim knob: the knob turned to the slider's position, a dB scale round it
    labelled at every multiple of 6 dB (-6dB, 0, 6dB on the trim's range), and the fixed lighting
    over both. The value pop-up has a black background. */
class KnobSliderLookAndFeel : public juce::LookAndFeel_V4
{
public:
    KnobSliderLookAndFeel();
    ~KnobSliderLookAndFeel() override;

    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    /** The labelled ticks of a range from minimum to maximum round a knob centred on centre whose
        art has the given label radius, one tick per unit. */
    static std::vector<ScaleLabel> layoutScale (juce::Point<float> centre, int labelRadius, double minimum,
                                                double maximum, float rotaryStartAngle, float rotaryEndAngle,
                                                const juce::Font& font);

    static constexpr float fontHeight = 15.0f;

    /** Size of the knob art relative to the 100 x 100 artwork; the band panel sets 0.8. */
    float knobScale = 0.09f;
    juce::Colour knobColour{ 0xFF000000 };

    /** The parsed knob artwork, shared with the other knobs. */
    juce::SharedResourcePointer<KnobArtworkCache> artwork;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KnobSliderLookAndFeel)
};
