#include "PresetNameCharacters.h"

#include <algorithm>
#include <iterator>

namespace
{
struct CharacterRange
{
    juce::juce_wchar first;
    juce::juce_wchar last;
};

// C0 and DEL and C1; the line and paragraph separators; Unicode's Bidi_Control characters (the
// Arabic letter mark, the left-to-right and right-to-left marks, the embeddings and overrides, the
// isolates).
constexpr CharacterRange controls[]{
    { 0x0000, 0x001f }, { 0x007f, 0x009f }, { 0x2028, 0x2029 }, { 0x061c, 0x061c },
    { 0x200e, 0x200f }, { 0x202a, 0x202e }, { 0x2066, 0x2069 },
};

// Unicode White_Space, less the controls above (tab to carriage return, U+0085 and the separators).
constexpr CharacterRange spaces[]{
    { 0x0020, 0x0020 }, { 0x00a0, 0x00a0 }, { 0x1680, 0x1680 }, { 0x2000, 0x200a },
    { 0x202f, 0x202f }, { 0x205f, 0x205f }, { 0x3000, 0x3000 },
};

// Unicode Default_Ignorable_Code_Point, less the bidirectional controls above: the soft hyphen,
// combining grapheme joiner, Hangul fillers, Khmer inherent vowels, Mongolian variation selectors
// and vowel separator, zero-width space, non-joiner and joiner, word joiner and invisible
// operators, the deprecated format characters, variation selectors, the byte-order mark (zero-width
// no-break space), shorthand format controls, musical symbol format characters, tags. With them the
// other format characters that draw nothing: interlinear annotation and hieroglyph format controls.
constexpr CharacterRange invisibles[]{
    { 0x00ad, 0x00ad },   { 0x034f, 0x034f },   { 0x115f, 0x1160 }, { 0x17b4, 0x17b5 },   { 0x180b, 0x180f },
    { 0x200b, 0x200d },   { 0x2060, 0x2065 },   { 0x206a, 0x206f }, { 0x3164, 0x3164 },   { 0xfe00, 0xfe0f },
    { 0xfeff, 0xfeff },   { 0xffa0, 0xffa0 },   { 0xfff0, 0xfffb }, { 0x13430, 0x1343f }, { 0x1bca0, 0x1bca3 },
    { 0x1d173, 0x1d17a }, { 0xe0000, 0xe0fff },
};

template <size_t count>
bool isIn (const CharacterRange (&ranges)[count], juce::juce_wchar c)
{
    return std::any_of (std::begin (ranges), std::end (ranges),
                        [c] (const CharacterRange& range) { return c >= range.first && c <= range.last; });
}

// Controls that are also Unicode White_Space: they end a word like a space does.
bool isSpacingControl (juce::juce_wchar c)
{
    return (c >= 0x09 && c <= 0x0d) || c == 0x85 || c == 0x2028 || c == 0x2029;
}
} // namespace

PresetNameCharacter classifyPresetNameCharacter (juce::juce_wchar c)
{
    if (isIn (controls, c))
        return PresetNameCharacter::control;
    if (isIn (spaces, c))
        return PresetNameCharacter::space;
    if (isIn (invisibles, c))
        return PresetNameCharacter::invisible;
    return PresetNameCharacter::visible;
}

juce::String presetNameAsShown (const juce::String& name)
{
    juce::String shown;
    bool gapPending = false;
    for (auto p = name.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = *p;
        const auto kind = classifyPresetNameCharacter (c);
        if (kind == PresetNameCharacter::space || (kind == PresetNameCharacter::control && isSpacingControl (c)))
            gapPending = true;
        else if (kind == PresetNameCharacter::visible)
        {
            if (gapPending && shown.isNotEmpty())
                shown << ' ';
            gapPending = false;
            shown << juce::String::charToString (c);
        }
    }
    return shown;
}
