#pragma once

#include "X11Display.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

/** A top-level X11 window of a fixed size that the host gives to a plug-in's editor. It tells
    when it was closed, by the window manager's close button (WM_DELETE_WINDOW) or by being
    destroyed, and reads its own pixels back from the server, the editor's child window included.
    It must outlive the editor's time in it. */
class X11ViewWindow
{
public:
    X11ViewWindow (X11Display& display, int width, int height, const std::string& title);
    ~X11ViewWindow();

    X11ViewWindow (const X11ViewWindow&) = delete;
    X11ViewWindow& operator= (const X11ViewWindow&) = delete;

    uintptr_t windowId() const noexcept { return window; }
    int width() const noexcept { return windowWidth; }
    int height() const noexcept { return windowHeight; }

    /** Maps the window and waits (up to the timeout) until the server has mapped it. */
    bool show (int timeoutMilliseconds = 5000);
    /** Handles the events that have arrived; false once the window was closed or destroyed. */
    bool handleEvents();
    bool isOpen() const noexcept { return ! closed; }
    /** Destroys the window, as a user's window manager might (after the editor is taken out). */
    void destroy();

    /** Moves the pointer off the window when it lies over it, so that no hover effect of the
        editor (highlights, value pop-ups) shows in a picture; `restorePointer` puts it back. */
    void movePointerOff();
    void restorePointer();

    /** The window's pixels as 0xAARRGGBB, row by row, alpha always 0xFF; false when the window
        cannot be read. */
    bool grab (std::vector<uint32_t>& pixels) const;

    /** The direct child windows with their sizes. */
    struct Child
    {
        uintptr_t window;
        int width;
        int height;
    };
    std::vector<Child> childWindows() const;

private:
    void handle (const union _XEvent& event);

    X11Display& display;
    unsigned long window = 0;
    int windowWidth;
    int windowHeight;
    unsigned long deleteWindowAtom = 0;
    bool mapped = false;
    bool closed = false;
    bool destroyed = false;
    /** Once the window is destroyed from outside, the plug-in's requests on its own window inside
        it fail until the editor is taken out; those errors are expected. */
    std::optional<X11Display::QuietErrors> quietAfterDestruction;
    /** Every window created inside this one. */
    std::vector<unsigned long> children;
    /** Where the pointer was (root coordinates) before it was moved off the window. */
    std::optional<std::pair<int, int>> movedPointerFrom;
};
