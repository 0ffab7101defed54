#include "X11ViewWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

namespace
{
// The bit position and width of a visual's colour mask.
struct Channel
{
    int shift = 0;
    int bits = 0;

    explicit Channel (unsigned long mask)
    {
        if (mask == 0)
            return;
        while ((mask & 1u) == 0)
        {
            mask >>= 1;
            ++shift;
        }
        while ((mask & 1u) != 0)
        {
            mask >>= 1;
            ++bits;
        }
    }

    uint32_t eightBits (unsigned long pixel) const noexcept
    {
        if (bits == 0)
            return 0;
        const unsigned long value = (pixel >> shift) & ((1ul << bits) - 1ul);
        return static_cast<uint32_t> (bits >= 8 ? value >> (bits - 8) : (value * 255ul) / ((1ul << bits) - 1ul));
    }
};
} // namespace

X11ViewWindow::X11ViewWindow (X11Display& connection, int width, int height, const std::string& title)
    : display (connection)
    , windowWidth (width)
    , windowHeight (height)
{
    Display* const dpy = display.native();
    const int screen = DefaultScreen (dpy);
    window =
        XCreateSimpleWindow (dpy, RootWindow (dpy, screen), 0, 0, static_cast<unsigned int> (width),
                             static_cast<unsigned int> (height), 0, BlackPixel (dpy, screen), BlackPixel (dpy, screen));
    XStoreName (dpy, window, title.c_str());

    // The editor has one size: the window manager should offer no other.
    XSizeHints* const hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints (dpy, window, hints);
    XFree (hints);

    deleteWindowAtom = XInternAtom (dpy, "WM_DELETE_WINDOW", False);
    Atom protocols[] = { static_cast<Atom> (deleteWindowAtom) };
    XSetWMProtocols (dpy, window, protocols, 1);
    // The plug-in's windows inside this one are seen coming and going too.
    XSelectInput (dpy, window, StructureNotifyMask | SubstructureNotifyMask);
    X11Display::expectMayVanish (window, true);

    // The plug-in creates its child window over its own connection, which must find this one.
    XSync (dpy, False);
}

X11ViewWindow::~X11ViewWindow()
{
    destroy();
    for (const auto child : children)
        X11Display::expectMayVanish (child, false);
    X11Display::expectMayVanish (window, false);
}

void X11ViewWindow::destroy()
{
    if (destroyed)
        return;
    XDestroyWindow (display.native(), window);
    XSync (display.native(), False);
    destroyed = true;
    closed = true;
}

bool X11ViewWindow::show (int timeoutMilliseconds)
{
    Display* const dpy = display.native();
    XMapWindow (dpy, window);
    XSync (dpy, False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMilliseconds);
    while (! mapped && ! closed && std::chrono::steady_clock::now() < deadline)
    {
        handleEvents();
        if (! mapped)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    return mapped;
}

bool X11ViewWindow::handleEvents()
{
    Display* const dpy = display.native();
    while (XPending (dpy) > 0)
    {
        XEvent event;
        XNextEvent (dpy, &event);
        handle (event);
    }
    return ! closed;
}

void X11ViewWindow::handle (const XEvent& event)
{
    if (event.xany.window != window)
        return;
    switch (event.type)
    {
        case CreateNotify:
            // A window of the plug-in's inside this one goes with it when this one is destroyed.
            children.push_back (event.xcreatewindow.window);
            X11Display::expectMayVanish (event.xcreatewindow.window, true);
            break;
        case MapNotify:
            if (event.xmap.window == window)
                mapped = true;
            break;
        case UnmapNotify:
            if (event.xunmap.window == window)
                mapped = false;
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window != window)
                break;
            destroyed = true;
            closed = true;
            if (! quietAfterDestruction.has_value())
                quietAfterDestruction.emplace (true);
            break;
        case ClientMessage:
            if (event.xclient.format == 32 && static_cast<unsigned long> (event.xclient.data.l[0]) == deleteWindowAtom)
                closed = true;
            break;
        default:
            break;
    }
}

void X11ViewWindow::movePointerOff()
{
    if (destroyed || movedPointerFrom.has_value())
        return;
    Display* const dpy = display.native();
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int buttons = 0;
    if (XQueryPointer (dpy, window, &root, &child, &rootX, &rootY, &x, &y, &buttons) == 0 || x < 0 || y < 0 ||
        x >= windowWidth || y >= windowHeight)
        return;

    // Just past the nearest edge that still lies on the screen.
    const int screenWidth = DisplayWidth (dpy, DefaultScreen (dpy));
    const int screenHeight = DisplayHeight (dpy, DefaultScreen (dpy));
    const int left = rootX - x - 1;
    const int right = rootX - x + windowWidth;
    const int top = rootY - y - 1;
    const int bottom = rootY - y + windowHeight;
    int targetX = rootX;
    int targetY = rootY;
    if (right < screenWidth)
        targetX = right;
    else if (bottom < screenHeight)
        targetY = bottom;
    else if (left >= 0)
        targetX = left;
    else if (top >= 0)
        targetY = top;
    else
        return;

    XWarpPointer (dpy, None, root, 0, 0, 0, 0, targetX, targetY);
    XSync (dpy, False);
    movedPointerFrom = std::make_pair (rootX, rootY);
}

void X11ViewWindow::restorePointer()
{
    if (! movedPointerFrom.has_value())
        return;
    Display* const dpy = display.native();
    XWarpPointer (dpy, None, DefaultRootWindow (dpy), 0, 0, 0, 0, movedPointerFrom->first, movedPointerFrom->second);
    XSync (dpy, False);
    movedPointerFrom.reset();
}

bool X11ViewWindow::grab (std::vector<uint32_t>& pixels) const
{
    if (destroyed)
        return false;
    XImage* const image = XGetImage (display.native(), window, 0, 0, static_cast<unsigned int> (windowWidth),
                                     static_cast<unsigned int> (windowHeight), AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;

    const Channel red (image->red_mask);
    const Channel green (image->green_mask);
    const Channel blue (image->blue_mask);
    pixels.resize (static_cast<size_t> (windowWidth) * static_cast<size_t> (windowHeight));
    for (int y = 0; y < windowHeight; ++y)
        for (int x = 0; x < windowWidth; ++x)
        {
            const unsigned long pixel = XGetPixel (image, x, y);
            pixels[static_cast<size_t> (y) * static_cast<size_t> (windowWidth) + static_cast<size_t> (x)] =
                0xFF000000u | (red.eightBits (pixel) << 16) | (green.eightBits (pixel) << 8) | blue.eightBits (pixel);
        }
    XDestroyImage (image);
    return true;
}

std::vector<X11ViewWindow::Child> X11ViewWindow::childWindows() const
{
    std::vector<Child> found;
    if (destroyed)
        return found;
    Display* const dpy = display.native();
    XSync (dpy, False);
    Window root = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    if (XQueryTree (dpy, window, &root, &parent, &list, &count) == 0)
        return found;
    for (unsigned int i = 0; i < count; ++i)
    {
        XWindowAttributes attributes;
        if (XGetWindowAttributes (dpy, list[i], &attributes) != 0)
            found.push_back ({ static_cast<uintptr_t> (list[i]), attributes.width, attributes.height });
    }
    if (list != nullptr)
        XFree (list);
    return found;
}
