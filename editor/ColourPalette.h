#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <cstddef>

/** The 35 colours every editor component chooses from. Each component keeps its own copy, filled
    once in its constructor and never changed. */
using ColourPalette = std::array<juce::Colour, 35>;

/** The palette's entries that components draw with, by what they colour: palette[PaletteColour::gainKnob].
    Image buttons take an on and an off colour. The entries without a name are kept in their places
    but nothing draws with them. */
namespace PaletteColour
{
enum Entry : std::size_t
{
    bandTypeGlyphOff = 0,
    bandTypeGlyphOn = 1,
    channel1Group = 6, // outline and title of channel 1's group and of the mono group
    channel2Group = 8,
    soloOn = 10, // the output section's solo and the selector's Solo CH1
    soloChannel2On = 11,
    soloOff = 12,
    soloChannel2Off = 13,
    selectorLinkOn = 14,
    selectorLinkOff = 15,
    leftMidAllOn = 16,
    leftMidAllOff = 17,
    rightSideOn = 18,
    rightSideOff = 19,
    outputSwitchOn = 20, // the output section's phase, left phase, link and reset
    outputSwitchOff = 21,
    rightPhaseOn = 22,
    rightPhaseOff = 23,
    faderTrack = 24,
    rightFaderTrack = 25,
    frequencyKnob = 26,
    gainKnob = 27,
    frequencyKnobLabel = 29,
    gainKnobLabel = 30,
    focusOutline = 31, // round the control that Tab has reached
};
} // namespace PaletteColour

/** Writes the 35 colours into palette and returns it. */
ColourPalette& fillColourPalette (ColourPalette& palette);
