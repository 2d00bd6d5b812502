// The floor of click-to-key latency: the least an X11 on-screen keyboard can do, a window that
// types "a" through XTest at each button release, straight from Xlib's event queue.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

int main()
{
    Display* Connection = XOpenDisplay(nullptr);
    if (!Connection)
        return 1;
    const Window Root = DefaultRootWindow(Connection);
    const Window Keyboard = XCreateSimpleWindow(Connection, Root, 0, 0, 200, 100, 0, 0, 0xdddddd);
    XWMHints Hints {};
    Hints.flags = InputHint; // never takes the focus from the program typed into
    XSetWMHints(Connection, Keyboard, &Hints);
    XStoreName(Connection, Keyboard, "floor keyboard");
    XSelectInput(Connection, Keyboard, ButtonPressMask | ButtonReleaseMask);
    XMapWindow(Connection, Keyboard);
    const KeyCode KeyA = XKeysymToKeycode(Connection, XK_a);
    for (XEvent Event;;) {
        XNextEvent(Connection, &Event);
        if (Event.type != ButtonRelease)
            continue;
        XTestFakeKeyEvent(Connection, KeyA, True, CurrentTime);
        XTestFakeKeyEvent(Connection, KeyA, False, CurrentTime);
        XFlush(Connection);
    }
}
