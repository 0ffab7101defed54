#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** The knob drawn by the stepped and the trim knobs' look-and-feels: the "knob-pointer" artwork,
    whose black parts take the knob's colour, turned about its own centre, and the fixed
    "knob-pointer-detail" lighting drawn unturned over it. Both are the artwork's size times the
    knob scale, centred on the knob's centre. */
namespace KnobArtwork
{
/** The knob pointer with its opaque black replaced by knobColour. */
std::unique_ptr<juce::Drawable> createPointer (juce::Colour knobColour);

/** The unrecoloured lighting overlay. */
std::unique_ptr<juce::Drawable> createDetail();

/** Scale labels start from this radius: half the artwork's whole width, times the knob scale,
    each step truncated. */
int labelRadius (const juce::Drawable& pointer, float knobScale);

/** Where the artwork's top left corner goes so that it is centred on centre at knobScale. */
juce::Point<float> topLeftFor (const juce::Drawable& artwork, juce::Point<float> centre, float knobScale);

/** Draws the pointer turned through angle (radians, clockwise from straight up) about its own
    centre, then scaled, with its top left corner at topLeft. */
void drawPointer (juce::Graphics& g, juce::Drawable& pointer, float angle, float knobScale, juce::Point<float> topLeft);

/** Draws the overlay scaled, unturned, with its top left corner at topLeft. */
void drawDetail (juce::Graphics& g, juce::Drawable& detail, float knobScale, juce::Point<float> topLeft);

/** The point at distance from centre in the direction angle (0 straight up, growing clockwise). */
inline juce::Point<float> pointOnCircle (juce::Point<float> centre, float distance, float angle) noexcept
{
    return { centre.x + distance * std::sin (angle), centre.y - distance * std::cos (angle) };
}
} // namespace KnobArtwork
