#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace state
{
/** The preset strip's combo box. A row chosen in its menu selects the item that holds the row's
    entry when the choice is made (followItem): the list may have been rebuilt while the menu was
    open (another instance added or removed presets), and the row's number may then belong to
    another preset. A row whose entry is gone selects nothing. The box ignores keys, so no stray key
    press applies a preset. */
class PresetListBox : public juce::ComboBox
{
public:
    PresetListBox();

    void showPopup() override;
    bool keyPressed (const juce::KeyPress& key) override;

    /** Given an item's ID as the list holds it now, a function that later gives the ID of the item
        holding the same entry then (0 when none does). Set by the owner, which knows what the items
        stand for; without it, or with an empty function, a row selects its own ID. */
    std::function<std::function<int()> (int itemId)> followItem;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetListBox)
};
} // namespace state
