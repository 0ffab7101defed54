#pragma once

#include <juce_core/juce_core.h>

/** What a character of a preset name is to someone reading the preset list. */
enum class PresetNameCharacter
{
    visible,
    /** A combining mark: drawn on the character before it, it is no letter of its own. */
    mark,
    /** Unicode White_Space that is not a control, and the braille blank: shows as a gap. */
    space,
    /** Draws nothing and takes no room: format characters such as the zero-width space or the
        byte-order mark, the Hangul fillers, variation selectors, tags. */
    invisible,
    /** Acts on the text rather than showing in it: C0 (NUL among them), DEL, C1, the line and
        paragraph separators, and the bidirectional controls, which reorder what follows them. */
    control,
    /** No Unicode character at all: a surrogate (U+D800-DFFF) or a number past U+10FFFF, as
        broken text from another program can carry. XML cannot hold it. */
    notUnicode
};

PresetNameCharacter classifyPresetNameCharacter (juce::juce_wchar c);

/** The name as the list shows it, for telling whether two names look alike: invisible characters
    and controls left out, each run of spaces (a tab or line break counts as one) a single space,
    none at either end. Case is kept: "Big synth" looks different from "Big Synth". */
juce::String presetNameAsShown (const juce::String& name);

/** The name without the spaces and invisible characters at either end, which show nothing: the
    name kept is then the one the list shows, and the one a user types to find it. Variation
    selectors and tags right after the last other character stay, as they belong to it (an
    emoji's colour form, a flag's region). */
juce::String trimPresetName (const juce::String& name);

/** True when nothing in the name stands on its own: it holds only spaces (the braille blank
    among them), invisible characters (the Hangul fillers among them), controls and combining
    marks, which have no letter to sit on. Such a name shows blank. Judged by Unicode's
    properties rather than by one font's glyphs, as the name is shown in more places than one. */
bool isBlankPresetName (const juce::String& name);
