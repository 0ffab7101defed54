#pragma once

#include <juce_graphics/juce_graphics.h>

/** One value written round a knob: where its anchor on the scale circle lies, the box its text is
    drawn into and how the text sits in that box. */
struct ScaleLabel
{
    juce::String text;
    juce::Point<float> anchor;
    juce::Rectangle<float> box;
    juce::Justification justification = juce::Justification::centred;
};
