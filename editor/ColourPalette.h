#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

/** The 35 colours every editor component chooses from, named by index. Each component keeps its
    own copy, filled once in its constructor and never changed. */
using ColourPalette = std::array<juce::Colour, 35>;

/** Writes the 35 colours into palette and returns it. */
ColourPalette& fillColourPalette (ColourPalette& palette);
