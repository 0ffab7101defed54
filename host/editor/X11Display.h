#pragma once

#include <cstdint>
#include <memory>
#include <string>

typedef struct _XDisplay Display;

/** The host's own connection to the X server named by $DISPLAY. Opening it also prepares the
    server for a plug-in's windows: without a window manager the atoms WM_PROTOCOLS and WM_STATE do
    not exist, and the plug-in's copy of JUCE would ask for atom 0 and be refused, so they are made
    here, before the plug-in opens its own connection. The connection stays open while the
    plug-in runs, since the server forgets atoms when its last client leaves. X errors (the
    plug-in's connection included: the handler is process-wide) are counted and reported on
    standard error instead of ending the process. */
class X11Display
{
public:
    /** Null with the reason when there is no display to connect to. */
    static std::unique_ptr<X11Display> open (std::string& error);
    ~X11Display();

    X11Display (const X11Display&) = delete;
    X11Display& operator= (const X11Display&) = delete;

    Display* native() const noexcept { return display; }
    int connectionNumber() const noexcept;

    /** X errors reported in this process so far. */
    static int errorCount() noexcept;

    /** Marks a window that someone else may destroy (a host window a user closes from outside, and
        the plug-in's window inside it): requests on it that fail because it is gone are expected
        and not reported. Main thread only. */
    static void expectMayVanish (uintptr_t window, bool expected);

    /** While one exists (and `quiet` is true), X errors are neither reported nor counted: for
        calls that are expected to refer to windows already gone. */
    class QuietErrors
    {
    public:
        explicit QuietErrors (bool quiet) noexcept;
        ~QuietErrors();

        QuietErrors (const QuietErrors&) = delete;
        QuietErrors& operator= (const QuietErrors&) = delete;

    private:
        bool previous;
    };

private:
    explicit X11Display (Display* connection) noexcept
        : display (connection)
    {
    }

    Display* display;
};
