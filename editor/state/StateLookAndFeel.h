#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace state
{
/** The preset strip's colours for its combo box, the combo box's menu and its dialogs. It draws
    nothing differently from the framework's look. */
class StateLookAndFeel : public juce::LookAndFeel_V4
{
public:
    StateLookAndFeel();

    static constexpr juce::uint32 greyTextArgb = 0xFFA9B0B7;
    static constexpr juce::uint32 highlightArgb = 0xFF555555;
};
} // namespace state
