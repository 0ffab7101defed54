#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A button that only the primary mouse button presses. JUCE's buttons click on any mouse button,
    so a right-click meant to open a context menu would delete a preset or reset the section.
    A click does not leave the keyboard focus on the button either, so a Return meant for the host
    does not click it again; a button the user focuses with the keyboard still clicks on Return. */
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
