#pragma once

#include <juce_core/juce_core.h>

#include <utility>
#include <vector>

// The factory presets as they must appear in presets.xml: tag and attributes (name, text) in order.
struct ExpectedPreset
{
    juce::String tag;
    std::vector<std::pair<juce::String, juce::String>> attributes;
};

std::vector<ExpectedPreset> expectedDefaultPresets();

// JUCE's default XML text form, written independently: header, blank line, two-space
// indentation, attributes continued on aligned lines once a line passes 60 characters, CR LF.
juce::String formatPresetsDocument (const std::vector<ExpectedPreset>& presets);
