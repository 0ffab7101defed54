#pragma once

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cmath>

/** Where values stand on a stepped knob's ascending table, counted in steps from the first entry
    (entry i stands at i). A value between two entries, from automation or an old project, stands
    where its band plays it: a gain blends the two neighbouring steps, so it stands between them in
    proportion; a frequency plays the first step not below it, so it stands on that step. */
class SnapSliderScale
{
public:
    enum class BetweenSteps
    {
        onNextStep,
        blended
    };

    juce::Array<float> table;
    BetweenSteps betweenSteps = BetweenSteps::onNextStep;

    int size() const noexcept { return table.size(); }

    /** Where the knob shows the value, from 0 to n - 1; 0 without entries. */
    double shownPosition (double value) const noexcept
    {
        if (betweenSteps == BetweenSteps::blended)
            return position (value);
        if (table.isEmpty())
            return 0.0;

        // The band truncates the frequency to whole hertz before it looks for its step.
        return (double) juce::jmin (firstIndexNotBelow (std::trunc (value)), size() - 1);
    }

    /** The value's position with straight lines between neighbouring entries, clamped to the table. */
    double position (double value) const noexcept
    {
        const int n = size();
        if (n == 0 || ! (value > (double) table.getFirst()))
            return 0.0;
        if (value >= (double) table.getLast())
            return (double) (n - 1);

        const int above = firstIndexNotBelow (value);
        const auto upper = (double) table.getUnchecked (above);
        if (value == upper)
            return (double) above;

        const auto lower = (double) table.getUnchecked (above - 1);
        return (double) (above - 1) + (value - lower) / (upper - lower);
    }

    /** The inverse of position: the value at a position, clamped to the table; 0 without entries. */
    double valueAt (double where) const noexcept
    {
        const int n = size();
        if (n == 0)
            return 0.0;
        if (! (where > 0.0))
            return (double) table.getFirst();
        if (where >= (double) (n - 1))
            return (double) table.getLast();

        const auto below = (int) std::floor (where);
        const auto lower = (double) table.getUnchecked (below);
        const double fraction = where - (double) below;
        if (fraction == 0.0)
            return lower;
        return lower + fraction * ((double) table.getUnchecked (below + 1) - lower);
    }

    /** The entry reached by a number of whole steps up (or down, when negative) from where the value
        is shown. The first step reaches the neighbouring entry in that direction, also from between
        two entries; the ends of the table hold. No steps leave the value as it is. */
    double stepFrom (double value, int steps) const noexcept
    {
        if (steps == 0 || table.isEmpty())
            return value;

        const double from = shownPosition (value);
        int index = 0;
        if (steps > 0)
            index = (int) std::floor (from) + steps;
        else
            index = (int) std::ceil (from) + steps;

        return (double) table.getUnchecked (juce::jlimit (0, size() - 1, index));
    }

    /** The first entry not below the value; the last entry above the table; the value itself
        without entries. */
    double firstNotBelow (double value) const noexcept
    {
        if (table.isEmpty())
            return value;
        return (double) table.getUnchecked (juce::jmin (firstIndexNotBelow (value), size() - 1));
    }

private:
    int firstIndexNotBelow (double value) const noexcept
    {
        const auto found = std::lower_bound (table.begin(), table.end(), value,
                                             [] (float entry, double v) { return (double) entry < v; });
        return (int) (found - table.begin());
    }
};
