#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A button that only the primary mouse button presses. JUCE's buttons click on any mouse button,
    so a right-click meant to open a context menu would delete a preset or reset the section.
    Only Tab brings the keyboard focus to it: focus that arrives any other way (a click, a window
    regaining the focus, a closed menu or dialog, a neighbour that cannot take it) goes on to the
    nearest enclosing component that takes keys (the editor, which passes them to the host), so a
    Return meant for the host never clicks it. Tabbed to, it clicks on Return or Space. */
template <typename ButtonType>
class PrimaryClickButton : public ButtonType
{
public:
    template <typename... Args>
    explicit PrimaryClickButton (Args&&... args)
        : ButtonType (std::forward<Args> (args)...)
    {
        this->setMouseClickGrabsKeyboardFocus (false);
    }

    bool keyPressed (const juce::KeyPress& key) override
    {
        // JUCE's buttons answer Return alone.
        if (key == juce::KeyPress (juce::KeyPress::spaceKey) && this->isEnabled())
        {
            this->triggerClick();
            return true;
        }
        return ButtonType::keyPressed (key);
    }

    void mouseDown (const juce::MouseEvent& e) override
    {
        if (isPrimary (e))
            ButtonType::mouseDown (e);
    }

    void mouseDrag (const juce::MouseEvent& e) override
    {
        if (isPrimary (e))
            ButtonType::mouseDrag (e);
    }

    void mouseUp (const juce::MouseEvent& e) override
    {
        if (isPrimary (e))
            ButtonType::mouseUp (e);
        else if (this->getState() == juce::Button::buttonDown && ! e.mods.isLeftButtonDown())
            // JUCE draws the button down while any mouse button is held over it.
            this->setState (this->isMouseOver (true) ? juce::Button::buttonOver : juce::Button::buttonNormal);
    }

    void focusGained (juce::Component::FocusChangeType cause) override
    {
        ButtonType::focusGained (cause); // JUCE's state, and the repaint that shows the outline
        if (cause != juce::Component::focusChangedByTabKey)
            passFocusOn();
    }

    /** JUCE's looks show no keyboard focus: a button tabbed to is outlined, so the user sees
        what Return or Space would press. */
    void paintOverChildren (juce::Graphics& g) override
    {
        if (this->hasKeyboardFocus (false))
        {
            g.setColour (juce::Colour (focusOutlineArgb));
            g.drawRect (this->getLocalBounds(), 1);
        }
    }

    static constexpr juce::uint32 focusOutlineArgb = 0xffa9b0b7;

    /** The left button alone; a control-click, which macOS takes for a right-click, is not one. */
    static bool isPrimary (const juce::MouseEvent& e) noexcept
    {
        return e.mods.isLeftButtonDown() && ! e.mods.isPopupMenu() && ! e.mods.isMiddleButtonDown();
    }

private:
    void passFocusOn()
    {
        for (auto* owner = this->getParentComponent(); owner != nullptr; owner = owner->getParentComponent())
            if (owner->getWantsKeyboardFocus())
            {
                owner->grabKeyboardFocus();
                break;
            }
        // No owner takes keys, or its window could not take the focus. (A button has no children.)
        if (this->hasKeyboardFocus (false))
            this->giveAwayKeyboardFocus();
    }
};
