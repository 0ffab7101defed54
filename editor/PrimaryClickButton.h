#pragma once

#include "TabFocus.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** One of the editor's controls: a button that only the primary mouse button presses. JUCE's
    buttons click on any mouse button, so a right-click meant to open a context menu would delete a
    preset or reset the section. The keyboard reaches it through the editor's Tab focus. */
template <typename ButtonType>
class PrimaryClickButton : public ButtonType, public EditorControlButton
{
public:
    template <typename... Args>
    explicit PrimaryClickButton (Args&&... args)
        : ButtonType (std::forward<Args> (args)...)
    {
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

    /** The left button alone; a control-click, which macOS takes for a right-click, is not one. */
    static bool isPrimary (const juce::MouseEvent& e) noexcept
    {
        return e.mods.isLeftButtonDown() && ! e.mods.isPopupMenu() && ! e.mods.isMiddleButtonDown();
    }
};
