#pragma once

#include "SnapSliderLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A rotary slider that can only stand on the values of a short ascending table. Its travel is
    divided into one equal bin per entry, so that every drag, wheel move or snap lands on an entry. */
class SnapSlider : public juce::Slider
{
public:
    SnapSlider (float knobScale, juce::Colour knobColour, juce::Colour labelColour);
    ~SnapSlider() override;

    /** Copies the table into the slider and into its look-and-feel. */
    void setSnapTable (const juce::Array<float>& table);
    const juce::Array<float>& getSnapTable() const noexcept { return snapTable; }

    float getKnobScale() const noexcept { return knobScale; }
    SnapSliderLookAndFeel& getSnapLookAndFeel() noexcept { return lookAndFeel; }

    /** Bin i of n equal bins gives entry i; the very end belongs to the last entry. */
    double proportionOfLengthToValue (double proportion) override;

    /** An entry maps to the lower edge of its bin; a value that is no entry to -1/n (0 when the
        table is empty). */
    double valueToProportionOfLength (double value) override;

    /** The first entry not below the attempted value; the last entry above the table, and the
        attempted value itself when there is no table. */
    double snapValue (double attemptedValue, DragMode) override;

private:
    juce::Array<float> snapTable;
    float knobScale;
    bool showDetail = true;
    juce::Colour knobColour;
    juce::Colour labelColour;
    SnapSliderLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnapSlider)
};
