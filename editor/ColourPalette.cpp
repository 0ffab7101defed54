#include "ColourPalette.h"

ColourPalette& fillColourPalette (ColourPalette& palette)
{
    static constexpr std::array<juce::uint32, std::tuple_size_v<ColourPalette>> argb{
        0xFF6B6B6B, // 0: band-type glyphs, off
        0xFF4ECAEE, // 1: band-type glyphs, on
        0xFF4ECAEE, 0xFF2F7B99, 0xFFFFA500, 0xFF766356,
        0xFFA9B0B7, // 6: channel 1 and mono group outline and title
        0xFF2F7B99,
        0xFFFFA500, // 8: channel 2 group outline and title
        0xFF766356,
        0xFF89C4FF, // 10: solo (and Solo CH1) on
        0xFFFFA500, // 11: Solo CH2 on
        0xFFA9B0B7, // 12: solo (and Solo CH1) off
        0xFFA9B0B7, // 13: Solo CH2 off
        0xFF89C4FF, // 14: Link LR on
        0xFFA9B0B7, // 15: Link LR off
        0xFF89C4FF, // 16: Left, Mid, All on
        0xFFA9B0B7, // 17: Left, Mid, All off
        0xFFFFA500, // 18: Right, Side on
        0xFFA9B0B7, // 19: Right, Side off
        0xFF89C4FF, // 20: output phase, left phase, link and reset on
        0xFFA9B0B7, // 21: output phase, left phase, link and reset off
        0xFFFFA500, // 22: right phase on
        0xFFA9B0B7, // 23: right phase off
        0xFF6C7277, // 24: fader track
        0xFF766356, // 25: right output fader track
        0xFF2C98B7, // 26: frequency knob
        0xFF336699, // 27: gain knob
        0xFF766356,
        0xFF4ECAEE, // 29: frequency knob labels
        0xFFFFFFFF, // 30: gain knob labels
        0xFFFFFFFF, // 31: the outline round the control that Tab has reached
        0x00000000, 0x00000000, 0x00000000,
    };

    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = juce::Colour (argb[i]);
    return palette;
}
