#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** Parses an SVG document into a drawable; an unparsable one gives an empty drawable, never null. */
std::unique_ptr<juce::Drawable> parseSvgDrawable (const juce::String& svgText);

/** Parses an SVG document into a drawable, swaps every fill and stroke of exactly colourToReplace
    for replacement (gradients stay as they are) and scales it uniformly about the origin. Its size
    is the document's viewBox times scale. */
std::unique_ptr<juce::Drawable> createSvgDrawable (const juce::String& svgText, juce::Colour colourToReplace,
                                                   juce::Colour replacement, float scale);

/** A button artwork (compiled-in UTF-8) at its own size, its white glyph in glyphColour. */
std::unique_ptr<juce::Drawable> createButtonImage (const char* artwork, juce::Colour glyphColour);

/** Gives a toggle button the artwork with its glyph in on while toggled on and in off otherwise. */
void setToggleImages (juce::DrawableButton& button, const char* artwork, juce::Colour on, juce::Colour off);
