#pragma once

#include <juce_core/juce_core.h>

/** What a character of a preset name is to someone reading the preset list. */
enum class PresetNameCharacter
{
    visible,
    /** Unicode White_Space that is not a control: shows as a gap. */
    space,
    /** Draws nothing and takes no room: format characters such as the zero-width space or the
        byte-order mark, the Hangul fillers, variation selectors, tags. */
    invisible,
    /** Acts on the text rather than showing in it: C0, DEL, C1, the line and paragraph separators,
        and the bidirectional controls, which reorder what follows them. */
    control
};

PresetNameCharacter classifyPresetNameCharacter (juce::juce_wchar c);

/** The name as the list shows it, for telling whether two names look alike: invisible characters
    and controls left out, each run of spaces (a tab or line break counts as one) a single space,
    none at either end. Case is kept: "Big synth" looks different from "Big Synth". */
juce::String presetNameAsShown (const juce::String& name);
