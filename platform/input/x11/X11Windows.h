#pragma once
// Top-level windows of other programs, named by their X window id: the client window that
// carries the title, not the frame a window manager puts around it. Works with and without a
// window manager; with one, activation goes through it (_NET_ACTIVE_WINDOW), as a pager's does.
#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

class TX11Windows {
public:
    explicit TX11Windows(Display* Connection);

    // The topmost client window whose _NET_WM_NAME or WM_NAME is exactly TitleUtf8 and, unless
    // ClassName is empty, whose WM_CLASS names it; 0 if none.
    Window Find(const std::string& TitleUtf8, const std::string& ClassName);
    bool IsIconic(Window Client);
    // De-iconifies, raises and activates the window. Waits, briefly, until the focus has
    // arrived, so that keys sent next reach it.
    bool Restore(Window Client);
    bool Iconify(Window Client);
    bool BringToTop(Window Client);

private:
    std::vector<Window> ClientWindows();
    Window ClientBelow(Window Frame, int Depth);
    bool HasWindowManager();
    bool Exists(Window Client);
    bool IsOnScreen(Window Client);
    bool TitleMatches(Window Client, const std::string& TitleUtf8);
    bool ClassMatches(Window Client, const std::string& ClassName);
    std::vector<unsigned char> Property(Window Client, Atom Name, Atom& Type, int& Format, unsigned long& Count);
    void Activate(Window Client);
    bool WaitUntil(std::chrono::milliseconds Timeout, bool (TX11Windows::*Condition)(Window), Window Client);
    bool HasFocus(Window Client);

    Display* Connection = nullptr;
    Window Root = 0;
    Atom NetClientListStacking = 0;
    Atom NetWmName = 0;
    Atom Utf8String = 0;
    Atom WmState = 0;
    Atom NetWmState = 0;
    Atom NetWmStateHidden = 0;
    Atom NetActiveWindow = 0;
    Atom NetSupportingWmCheck = 0;
};
