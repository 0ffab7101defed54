#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

/** Who holds the keyboard focus in the editor's window. The editor does, and passes every key on to
    the host but Tab and Shift+Tab, which lend the focus to one of its controls in turn, and Return
    and Space, which press the control tabbed to. Nothing else gives a control the focus: no part of
    the window takes it by itself, so a click, a closed menu or dialog, or the window gaining the
    focus leaves it with the editor; and any mouse press, wheel or drag in the window takes back the
    focus that Tab lent. So a key meant for the host never presses a control the user has left.

    The Tab stops are the controls (`EditorControlButton`s) that are showing, enabled and laid out,
    in the editor's focus order; the one tabbed to is outlined, as JUCE's looks show no focus. */
class TabFocus : private juce::MouseListener
{
public:
    explicit TabFocus (juce::Component& editor);
    ~TabFocus() override;

    /** Keeps every part of the window from taking the focus by itself; call once the editor's
        children are in place. */
    void keepFocusFromChildren();

    /** For the editor's createKeyboardFocusTraverser: the Tab stops, and no default control, so
        JUCE hands focus that a component declines to the editor. */
    std::unique_ptr<juce::ComponentTraverser> createTraverser() const;

    /** The editor's keys; false for those that go on to the host. */
    bool keyPressed (const juce::KeyPress& key);

    /** Call whenever the focus may have moved, so the outline follows it. */
    void focusChanged();

    /** Draws the outline round the control tabbed to, over the editor's children. */
    void paintOutline (juce::Graphics& g);

    /** The control holding the focus Tab lent, or null. */
    juce::Button* tabbedControl() const;

    /** Where the outline is drawn round a control of this size, relative to the control. */
    static juce::Rectangle<int> outlineArea (juce::Rectangle<int> controlBounds);

private:
    void mouseDown (const juce::MouseEvent&) override { takeBack(); }
    void mouseDrag (const juce::MouseEvent&) override { takeBack(); }
    void mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&) override { takeBack(); }
    void mouseMagnify (const juce::MouseEvent&, float) override { takeBack(); }

    void moveTo (bool forwards);
    void takeBack();

    juce::Component& editor;
    juce::Colour outlineColour;
    // Where the outline was last drawn, in the editor's coordinates, to be cleared when it moves.
    juce::Rectangle<int> outlined;
};

/** What makes a button one of the editor's controls and so a Tab stop; the maker's logo, a plain
    button that does nothing, is not one. */
class EditorControlButton
{
protected:
    ~EditorControlButton() = default;
};
