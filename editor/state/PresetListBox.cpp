#include "PresetListBox.h"

namespace state
{
namespace
{
// Carries a menu row's ID as the menu was opened with it, and how to find its entry later.
class ChosenRow : public juce::PopupMenu::CustomCallback
{
public:
    ChosenRow (PresetListBox& listBox, int rowId, std::function<int()> findRowEntry)
        : box (&listBox)
        , id (rowId)
        , findEntry (std::move (findRowEntry))
    {
    }

    // True lets JUCE select the row's ID, as it does for every menu; false selects nothing more.
    bool menuItemTriggered() override
    {
        if (box == nullptr)
            return false;

        const auto current = findEntry != nullptr ? findEntry() : id;
        if (current == id)
            return true;
        if (current != 0)
            box->setSelectedId (current);
        return false;
    }

private:
    juce::Component::SafePointer<PresetListBox> box;
    const int id;
    const std::function<int()> findEntry;
};
} // namespace

PresetListBox::PresetListBox() = default;

bool PresetListBox::keyPressed (const juce::KeyPress&)
{
    return false;
}

void PresetListBox::showPopup()
{
    // The menu JUCE opens is a copy of these items, taken now.
    for (juce::PopupMenu::MenuItemIterator row (*getRootMenu()); row.next();)
    {
        auto& item = row.getItem();
        if (item.itemID != 0)
            item.customCallback =
                new ChosenRow (*this, item.itemID, followItem != nullptr ? followItem (item.itemID) : nullptr);
    }
    juce::ComboBox::showPopup();
}
} // namespace state
