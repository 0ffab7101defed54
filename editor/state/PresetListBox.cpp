#include "PresetListBox.h"

#include <cstdlib>

namespace state
{
namespace
{
// Carries a menu row's ID and text as the menu was opened with them.
class ChosenRow : public juce::PopupMenu::CustomCallback
{
public:
    ChosenRow (PresetListBox& listBox, int rowId, const juce::String& rowText)
        : box (&listBox)
        , id (rowId)
        , text (rowText)
    {
    }

    // True lets JUCE select the row's ID, as it does for every menu; false selects nothing more.
    bool menuItemTriggered() override
    {
        if (box == nullptr)
            return false;

        const auto current = box->findItemShowing (text, id);
        if (current == id)
            return true;
        if (current != 0)
            box->setSelectedId (current);
        return false;
    }

private:
    juce::Component::SafePointer<PresetListBox> box;
    const int id;
    const juce::String text;
};
} // namespace

PresetListBox::PresetListBox()
{
    setWantsKeyboardFocus (false);
}

bool PresetListBox::keyPressed (const juce::KeyPress&)
{
    return false;
}

int PresetListBox::findItemShowing (const juce::String& text, int chosenId) const
{
    int found = 0;
    for (int i = 0; i < getNumItems(); ++i)
    {
        const auto id = getItemId (i);
        if (id != 0 && getItemText (i) == text &&
            (found == 0 || std::abs (id - chosenId) < std::abs (found - chosenId)))
            found = id;
    }
    return found;
}

void PresetListBox::showPopup()
{
    // The menu JUCE opens is a copy of these items, taken now.
    for (juce::PopupMenu::MenuItemIterator row (*getRootMenu()); row.next();)
    {
        auto& item = row.getItem();
        if (item.itemID != 0)
            item.customCallback = new ChosenRow (*this, item.itemID, item.text);
    }
    juce::ComboBox::showPopup();
}
} // namespace state
