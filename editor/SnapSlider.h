#pragma once

#include "SnapSliderLookAndFeel.h"
#include "SnapSliderScale.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A rotary slider that can only be turned onto the values of a short ascending table. Its travel
    is divided into one equal bin per entry, each entry at the middle of its bin, so that a drag
    takes as far to reach the next entry up as the next one down, and a press that trembles a few
    pixels moves nothing. A value set from outside between two entries is kept as it is and shown
    where its band plays it (see SnapSliderScale); the first drag or wheel notch moves it to a
    neighbouring entry. */
class SnapSlider : public juce::Slider
{
public:
    SnapSlider (float knobScale, juce::Colour knobColour, juce::Colour labelColour);
    ~SnapSlider() override;

    /** Copies the table into the slider and into its look-and-feel. */
    void setSnapTable (const juce::Array<float>& table);
    const juce::Array<float>& getSnapTable() const noexcept { return scale.table; }

    /** How a value between two entries stands: on the next step (frequency) or between them (gain). */
    void setBetweenSteps (SnapSliderScale::BetweenSteps rule);

    float getKnobScale() const noexcept { return knobScale; }
    SnapSliderLookAndFeel& getSnapLookAndFeel() noexcept { return lookAndFeel; }

    /** Straight lines between the entries, which stand at the middle of their bins:
        entry i at (i + 0.5) / n. */
    double proportionOfLengthToValue (double proportion) override;

    /** Where the value is shown: entry i at (i + 0.5) / n, a value between two entries as
        SnapSliderScale shows it; 0 when the table is empty. */
    double valueToProportionOfLength (double value) override;

    /** While the user turns the knob: the value at the press moved by whole steps, one per bin
        dragged (the first after half a bin) and one per wheel notch. Otherwise the first entry not
        below the attempted value (the last one above the table; the attempted value itself when
        there is no table). */
    double snapValue (double attemptedValue, DragMode dragMode) override;

    void startedDragging() override;
    void stoppedDragging() override;

private:
    SnapSliderScale scale;
    float knobScale;
    juce::Colour knobColour;
    juce::Colour labelColour;
    SnapSliderLookAndFeel lookAndFeel;

    // The value when the current drag or wheel notch began; drags count their steps from it.
    bool turning = false;
    double valueAtPress = 0.0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnapSlider)
};
