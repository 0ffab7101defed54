#include "PresetNameCharacters.h"

#include "CombiningMarks.h"

#include <algorithm>
#include <iterator>
#include <string>

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

// Unicode White_Space, less the controls above (tab to carriage return, U+0085 and the separators);
// with them the braille blank, a letter whose glyph is an empty cell.
constexpr CharacterRange spaces[]{
    { 0x0020, 0x0020 }, { 0x00a0, 0x00a0 }, { 0x1680, 0x1680 }, { 0x2000, 0x200a },
    { 0x202f, 0x202f }, { 0x205f, 0x205f }, { 0x2800, 0x2800 }, { 0x3000, 0x3000 },
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

// Variation selectors and tags choose how the character before them is drawn.
constexpr CharacterRange selectors[]{
    { 0x180b, 0x180d }, { 0x180f, 0x180f }, { 0xfe00, 0xfe0f }, { 0xe0020, 0xe007f }, { 0xe0100, 0xe01ef },
};

bool showsNothing (PresetNameCharacter kind)
{
    return kind == PresetNameCharacter::space || kind == PresetNameCharacter::invisible;
}

// Controls that are also Unicode White_Space: they end a word like a space does.
bool isSpacingControl (juce::juce_wchar c)
{
    return (c >= 0x09 && c <= 0x0d) || c == 0x85 || c == 0x2028 || c == 0x2029;
}
} // namespace

PresetNameCharacter classifyPresetNameCharacter (juce::juce_wchar c)
{
    if (static_cast<uint32_t> (c) > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
        return PresetNameCharacter::notUnicode;
    if (isIn (controls, c))
        return PresetNameCharacter::control;
    if (isIn (spaces, c))
        return PresetNameCharacter::space;
    if (isIn (invisibles, c))
        return PresetNameCharacter::invisible;
    if (isCombiningMark (c))
        return PresetNameCharacter::mark;
    return PresetNameCharacter::visible;
}

juce::String presetNameAsShown (const juce::String& name)
{
    // Gathered before it becomes a string: appending to a juce::String measures it each time.
    static_assert (sizeof (juce::juce_wchar) == sizeof (char32_t));
    std::u32string shown;
    bool gapPending = false;
    for (auto p = name.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto c = *p;
        const auto kind = classifyPresetNameCharacter (c);
        if (kind == PresetNameCharacter::space || (kind == PresetNameCharacter::control && isSpacingControl (c)))
            gapPending = true;
        else if (kind == PresetNameCharacter::visible || kind == PresetNameCharacter::mark)
        {
            if (gapPending && ! shown.empty())
                shown += U' ';
            gapPending = false;
            shown += static_cast<char32_t> (c);
        }
    }
    return juce::String (juce::CharPointer_UTF32 (reinterpret_cast<const juce::juce_wchar*> (shown.c_str())));
}

juce::String trimPresetName (const juce::String& name)
{
    auto p = name.getCharPointer();
    while (! p.isEmpty() && showsNothing (classifyPresetNameCharacter (*p)))
        ++p;

    const auto start = p;
    auto end = p;
    bool afterKept = false;
    while (! p.isEmpty())
    {
        const auto c = p.getAndAdvance();
        if (! showsNothing (classifyPresetNameCharacter (c)) || (afterKept && isIn (selectors, c)))
        {
            end = p;
            afterKept = true;
        }
        else
            afterKept = false;
    }
    return juce::String (start, end);
}

bool isBlankPresetName (const juce::String& name)
{
    for (auto p = name.getCharPointer(); ! p.isEmpty(); ++p)
        if (classifyPresetNameCharacter (*p) == PresetNameCharacter::visible)
            return false;
    return true;
}
