#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace state
{
/** The preset strip's combo box. A row chosen in its menu selects the item that bears the row's
    text when the choice is made: the list may have been rebuilt while the menu was open (another
    instance added or removed presets), and the row's number may then belong to another preset. A
    row whose text is gone selects nothing. The box takes no keyboard focus and ignores keys, so no
    stray key press applies a preset. */
class PresetListBox : public juce::ComboBox
{
public:
    PresetListBox();

    void showPopup() override;
    bool keyPressed (const juce::KeyPress& key) override;

    /** The item that bears this text now (of several, the one whose ID is nearest chosenId); 0
        when none does. */
    int findItemShowing (const juce::String& text, int chosenId) const;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetListBox)
};
} // namespace state
