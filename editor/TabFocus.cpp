#include "TabFocus.h"

#include "ColourPalette.h"

#include <algorithm>

namespace
{
constexpr float outlineThickness = 2.0f;
constexpr float outlineCornerRadius = 3.0f;

bool isTabStop (const juce::Component& component)
{
    return dynamic_cast<const juce::Button*> (&component) != nullptr &&
           dynamic_cast<const EditorControlButton*> (&component) != nullptr && component.isShowing() &&
           ! component.getBounds().isEmpty();
}

// The Tab stops in the owner's focus order: JUCE's order of its components (explicit focus order,
// then top to bottom and left to right at each level) without the hidden and disabled ones.
std::vector<juce::Component*> tabStopsWithin (juce::Component& container)
{
    auto components = juce::FocusTraverser().getAllComponents (&container);
    components.erase (std::remove_if (components.begin(), components.end(),
                                      [] (const juce::Component* c) { return ! isTabStop (*c); }),
                      components.end());
    return components;
}

// The stop after (or before) `current`, round from the far end; the first (or last) when
// `current` is none of them.
juce::Component* stepFrom (juce::Component& container, const juce::Component* current, bool forwards)
{
    const auto stops = tabStopsWithin (container);
    if (stops.empty())
        return nullptr;
    const auto at = std::find (stops.begin(), stops.end(), current);
    if (at == stops.end())
        return forwards ? stops.front() : stops.back();
    if (forwards)
        return std::next (at) == stops.end() ? stops.front() : *std::next (at);
    return at == stops.begin() ? stops.back() : *std::prev (at);
}

class TabStopTraverser : public juce::ComponentTraverser
{
public:
    explicit TabStopTraverser (juce::Component& owner)
        : editor (owner)
    {
    }

    // None: a component that declines the focus passes it up to the editor, which takes it.
    juce::Component* getDefaultComponent (juce::Component*) override { return nullptr; }
    juce::Component* getNextComponent (juce::Component* current) override { return stepFrom (editor, current, true); }
    juce::Component* getPreviousComponent (juce::Component* current) override
    {
        return stepFrom (editor, current, false);
    }
    // JUCE asks only of the editor, its one focus container.
    std::vector<juce::Component*> getAllComponents (juce::Component*) override { return tabStopsWithin (editor); }

private:
    juce::Component& editor;
};

void declineFocus (juce::Component& parent)
{
    for (auto* child : parent.getChildren())
    {
        child->setWantsKeyboardFocus (false);
        declineFocus (*child);
    }
}
} // namespace

TabFocus::TabFocus (juce::Component& owner)
    : editor (owner)
{
    ColourPalette palette;
    outlineColour = fillColourPalette (palette)[PaletteColour::focusOutline];
    editor.setWantsKeyboardFocus (true);
    editor.addMouseListener (this, true);
}

TabFocus::~TabFocus()
{
    editor.removeMouseListener (this);
}

void TabFocus::keepFocusFromChildren()
{
    declineFocus (editor);
}

std::unique_ptr<juce::ComponentTraverser> TabFocus::createTraverser() const
{
    return std::make_unique<TabStopTraverser> (editor);
}

bool TabFocus::keyPressed (const juce::KeyPress& key)
{
    const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier);
    if (key == juce::KeyPress (juce::KeyPress::tabKey) || key == juce::KeyPress (juce::KeyPress::tabKey, shift, 0))
    {
        moveTo (! key.getModifiers().isShiftDown());
        return true;
    }

    auto* control = tabbedControl();
    if (control == nullptr ||
        ! (key == juce::KeyPress (juce::KeyPress::returnKey) || key == juce::KeyPress (juce::KeyPress::spaceKey)))
        return false;
    // JUCE's buttons answer Return alone.
    if (control->isEnabled())
        control->triggerClick();
    return true;
}

juce::Button* TabFocus::tabbedControl() const
{
    // Only Tab gives a child the focus.
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    return editor.isParentOf (focused) ? dynamic_cast<juce::Button*> (focused) : nullptr;
}

void TabFocus::moveTo (bool forwards)
{
    TabStopTraverser stops (editor);
    auto* const current = juce::Component::getCurrentlyFocusedComponent();
    auto* next = forwards ? stops.getNextComponent (current) : stops.getPreviousComponent (current);
    if (next == nullptr)
        return;
    // Lent for this grab only: no other route (a window regaining the focus, a click, a grab by
    // JUCE) finds the control wanting it, so each of them leaves it with the editor.
    next->setWantsKeyboardFocus (true);
    next->grabKeyboardFocus();
    next->setWantsKeyboardFocus (false);
    focusChanged();
}

void TabFocus::takeBack()
{
    if (! editor.isParentOf (juce::Component::getCurrentlyFocusedComponent()))
        return;
    editor.grabKeyboardFocus();
    // A window without the display's focus cannot take it; the control lets it go all the same.
    if (auto* focused = juce::Component::getCurrentlyFocusedComponent(); editor.isParentOf (focused))
        focused->giveAwayKeyboardFocus();
    focusChanged();
}

juce::Rectangle<int> TabFocus::outlineArea (juce::Rectangle<int> controlBounds)
{
    return controlBounds.expanded ((int) outlineThickness);
}

void TabFocus::focusChanged()
{
    juce::Rectangle<int> now;
    if (auto* control = tabbedControl())
        now = outlineArea (editor.getLocalArea (control, control->getLocalBounds()));
    if (now == outlined)
        return;
    editor.repaint (outlined);
    editor.repaint (now);
    outlined = now;
}

void TabFocus::paintOutline (juce::Graphics& g)
{
    auto* control = tabbedControl();
    if (control == nullptr)
        return;
    // A ring just outside the control, clear of its own border and of its neighbours'.
    const auto area = outlineArea (editor.getLocalArea (control, control->getLocalBounds())).toFloat();
    g.setColour (outlineColour);
    g.drawRoundedRectangle (area.reduced (outlineThickness / 2.0f), outlineCornerRadius, outlineThickness);
}
