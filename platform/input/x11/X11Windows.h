#pragma once
// Top-level windows of other programs, named by their X window id: the client window that
// carries the title, not the frame a window manager puts around it. Works with and without a
// window manager; with one, activation goes through it (_NET_ACTIVE_WINDOW), as a pager's does.
#include <X11/Xlib.h>

#include <string>
#include <vector>

class TX11Windows {
public:
    explicit TX11Windows(Display* Connection);

    // The topmost client window whose _NET_WM_NAME or WM_NAME is exactly TitleUtf8 and, unless
    // ClassName is empty, whose WM_CLASS names it; 0 if none.
    Window Find(const std::string& TitleUtf8, const std::string& ClassName);
    bool IsIconic(Window Client);
    bool Exists(Window Client);
    // De-iconifies (Restore) or raises (BringToTop) the window and asks for it to be activated:
    // through the window manager where there is one, else by the caller giving it the focus
    // once it is on screen (NeedsFocusGiven). Nothing waits here: the caller waits, on its
    // event loop, until HasFocus, so that keys sent next reach the window.
    bool Restore(Window Client);
    bool Iconify(Window Client);
    bool BringToTop(Window Client);
    bool NeedsFocusGiven() { return !HasWindowManager(); }
    bool IsOnScreen(Window Client);
    void GiveFocus(Window Client);
    bool HasFocus(Window Client);

private:
    std::vector<Window> ClientWindows();
    Window ClientBelow(Window Frame, int Depth);
    bool HasWindowManager();
    bool TitleMatches(Window Client, const std::string& TitleUtf8);
    bool ClassMatches(Window Client, const std::string& ClassName);
    std::vector<unsigned char> Property(Window Client, Atom Name, Atom& Type, int& Format, unsigned long& Count);
    void Activate(Window Client);

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
