#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace state
{
/** The preset strip's colours for its combo box, the combo box's menu and its dialogs, and a
    compact Bypass switch: the strip gives it a cell of 57 x 26 pixels, where JUCE's tick box
    and 15-pixel text leave room for "By..." only in the fonts found on Linux. */
class StateLookAndFeel : public juce::LookAndFeel_V4
{
public:
    StateLookAndFeel();

    void drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;

    /** A menu item is never wider than the room from its combo box to the right edge of the box's
        parent (the strip, as wide as the editor): one long preset name would otherwise widen the
        whole menu past the screen's edge, where the framework moves it away from its box. Longer
        names are drawn shortened. */
    void getIdealPopupMenuItemSizeWithOptions (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                               int& idealWidth, int& idealHeight,
                                               const juce::PopupMenu::Options& options) override;

    static constexpr juce::uint32 greyTextArgb = 0xFFA9B0B7;
    static constexpr juce::uint32 highlightArgb = 0xFF555555;
};
} // namespace state
