#pragma once
// The desktop as X11 shows it, on one display connection of its own: XInput 2 raw events
// (which every client may read on the root window, whoever has the focus or a grab) for keys,
// pointer presses, motions and releases; the root window's active-window property; the server's
// key-repeat settings. X errors on this connection are trapped and reported; a connection that
// breaks makes the observer blind (it reports so once), never ends the program.
//
// Keys: every key press that the backend sends through XTest is counted (TOwnKeys); a raw XTest
// key press is KIVO's own while one of those is still to come back, else someone else's
// (xdotool, another on-screen keyboard). A key of a real keyboard always is someone else's.
// No X11 header leaks from here.
#include "DesktopObserver.h"
#include "UserText.h"

#include <chrono>
#include <deque>
#include <memory>
#include <string>

// The key presses the backend has sent that the observer has not yet seen come back.
class TOwnKeys {
public:
    void Sent() { Pending.push_back(std::chrono::steady_clock::now()); }
    // Whether an XTest key press just seen is one of those. A press the server never reported
    // back (none is known to get lost) stops counting after a while.
    bool Returned()
    {
        const auto Now = std::chrono::steady_clock::now();
        while (!Pending.empty() && Now - Pending.front() > std::chrono::seconds(2))
            Pending.pop_front();
        if (Pending.empty())
            return false;
        Pending.pop_front();
        return true;
    }

private:
    std::deque<std::chrono::steady_clock::time_point> Pending;
};

// Opens $DISPLAY. Never null: without XInput 2 it sees no outside input (SeesOutsideInput),
// and without a display it sees nothing; ErrorMessage then says why in one line.
std::unique_ptr<TDesktopObserver> CreateX11DesktopObserver(std::shared_ptr<TOwnKeys> OwnKeys, TUserText& ErrorMessage);
