#include "X11Display.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
std::atomic<int> reportedErrors{ 0 };
std::atomic<bool> quietErrors{ false };
// Windows that others may destroy: requests on them that fail for that reason are expected. Only
// the main thread, which makes every X call of the host and the plug-in, touches the list.
std::vector<unsigned long> mayVanish;

bool isExpected (const XErrorEvent& event)
{
    return (event.error_code == BadWindow || event.error_code == BadDrawable) &&
           std::find (mayVanish.begin(), mayVanish.end(), event.resourceid) != mayVanish.end();
}

int reportError (Display* display, XErrorEvent* event)
{
    if (quietErrors.load() || isExpected (*event))
        return 0;
    reportedErrors.fetch_add (1);
    char text[256] = {};
    XGetErrorText (display, event->error_code, text, sizeof (text));
    std::fprintf (stderr, "larkspur-host: X error: %s (request %d.%d, resource 0x%lx)\n", text,
                  static_cast<int> (event->request_code), static_cast<int> (event->minor_code),
                  static_cast<unsigned long> (event->resourceid));
    return 0;
}
} // namespace

std::unique_ptr<X11Display> X11Display::open (std::string& error)
{
    const char* const name = std::getenv ("DISPLAY");
    if (name == nullptr || *name == '\0')
    {
        error = "no X display: DISPLAY is not set";
        return nullptr;
    }
    Display* const display = XOpenDisplay (name);
    if (display == nullptr)
    {
        error = std::string ("cannot open the X display \"") + name + "\"";
        return nullptr;
    }
    XSetErrorHandler (&reportError);

    XInternAtom (display, "WM_PROTOCOLS", False);
    XInternAtom (display, "WM_STATE", False);
    XInternAtom (display, "WM_DELETE_WINDOW", False);
    XSync (display, False);
    return std::unique_ptr<X11Display> (new X11Display (display));
}

X11Display::~X11Display()
{
    XCloseDisplay (display);
}

int X11Display::connectionNumber() const noexcept
{
    return ConnectionNumber (display);
}

int X11Display::errorCount() noexcept
{
    return reportedErrors.load();
}

X11Display::QuietErrors::QuietErrors (bool quiet) noexcept
    : previous (quietErrors.exchange (quiet))
{
}

X11Display::QuietErrors::~QuietErrors()
{
    quietErrors.store (previous);
}

void X11Display::expectMayVanish (uintptr_t window, bool expected)
{
    const auto id = static_cast<unsigned long> (window);
    mayVanish.erase (std::remove (mayVanish.begin(), mayVanish.end(), id), mayVanish.end());
    if (expected)
        mayVanish.push_back (id);
}
