// larkspur_window_closer TITLE close|destroy: waits (up to ten seconds) for a top-level window of
// that title on $DISPLAY, then asks it to close as a window manager's close button does
// (WM_DELETE_WINDOW), or destroys it. Exit status 0 when done, 1 when no such window appeared.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace
{
Window findByTitle (Display* display, const std::string& title)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree (display, DefaultRootWindow (display), &root, &parent, &children, &count) == 0)
        return 0;
    for (unsigned int i = 0; i < count && found == 0; ++i)
    {
        char* name = nullptr;
        if (XFetchName (display, children[i], &name) != 0 && name != nullptr)
        {
            if (title == name)
                found = children[i];
            XFree (name);
        }
    }
    if (children != nullptr)
        XFree (children);
    return found;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 3 || (std::strcmp (argv[2], "close") != 0 && std::strcmp (argv[2], "destroy") != 0))
    {
        std::fprintf (stderr, "usage: larkspur_window_closer TITLE close|destroy\n");
        return 2;
    }
    Display* const display = XOpenDisplay (nullptr);
    if (display == nullptr)
    {
        std::fprintf (stderr, "larkspur_window_closer: no X display\n");
        return 1;
    }

    Window window = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);
    while ((window = findByTitle (display, argv[1])) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for (std::chrono::milliseconds (20));
    if (window == 0)
    {
        std::fprintf (stderr, "larkspur_window_closer: no window \"%s\" appeared\n", argv[1]);
        XCloseDisplay (display);
        return 1;
    }
    // Long enough for the editor to be attached and painted, as a user would see it.
    std::this_thread::sleep_for (std::chrono::milliseconds (300));

    if (std::strcmp (argv[2], "destroy") == 0)
        XDestroyWindow (display, window);
    else
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long> (XInternAtom (display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent (display, window, False, NoEventMask, &event);
    }
    XSync (display, False);
    XCloseDisplay (display);
    return 0;
}
