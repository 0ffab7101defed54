// JUCE's message manager for a test binary that opens real windows on the X server
// named by DISPLAY (run it under xvfb-run).
#include "DisplayTest.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

// Last: its macros (None, Bool, Status) clash with names in the headers above.
#include <X11/Xlib.h>

namespace
{
// A bare X server has no window manager, so the atoms WM_PROTOCOLS and WM_STATE do not exist;
// JUCE would ask for atom 0 and the server's refusal ends the process. They are made
// here, before JUCE opens its connection (hence at static initialisation), and the
// connection stays open, since the server forgets atoms when its last client leaves.
struct WindowManagerAtoms
{
    WindowManagerAtoms()
        : display (XOpenDisplay (nullptr))
    {
        if (display == nullptr)
            return;
        XInternAtom (display, "WM_PROTOCOLS", False);
        XInternAtom (display, "WM_STATE", False);
        XSync (display, False);
    }

    ~WindowManagerAtoms()
    {
        if (display != nullptr)
            XCloseDisplay (display);
    }

    Display* display;
};

const WindowManagerAtoms atoms;

class DisplayTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        // Without a display each test skips itself (DisplayTest). A display that is named but
        // cannot be reached is a failure.
        if (! displayIsNamed())
            return;
        if (atoms.display == nullptr)
        {
            std::fprintf (stderr, "cannot open the X display %s\n", std::getenv ("DISPLAY"));
            std::exit (1);
        }
        initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
    }

    void TearDown() override { initialiser.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new DisplayTestEnvironment);
} // namespace
