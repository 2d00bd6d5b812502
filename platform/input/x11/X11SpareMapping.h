#pragma once
// How a spare key's symbols reach the server. XKB's own request (XkbSetMap, sent by
// XkbChangeMap) for the core keyboard carries the key's type with its symbols, and the server
// passes it on to every keyboard device. Xwayland refuses it with BadValue for every key: it
// measures the key against type widths it fills in only when the request carries the key types
// (and sending the core keyboard's types along would put them on every device, while the seat's
// keyboard and XTest's have different ones there). So where the request is refused the key goes
// through the core protocol (XChangeKeyboardMapping), which reaches every device and leaves the
// key's type to the server: ALPHABETIC for the case pairs it knows, TWO_LEVEL otherwise (Unicode
// keysyms), and two levels of the first group at most. The route that worked is kept for the
// connection. Whether a request was taken is judged by what the server holds afterwards: a
// toolkit in the same process may have put an error handler of its own in place of the
// backend's traps.
#include <X11/XKBlib.h>

#include <cstdint>

class TX11SpareMapping {
public:
    explicit TX11SpareMapping(Display* Connection) : Connection(Connection) {}

    // Sends the key's symbols (2 or 4 levels), as already set in Map, with the changes that name
    // the key. True when the server holds them afterwards (a few round trips).
    bool SetKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Levels);
    // Makes the key empty again; Map and Changes describe it without symbols already.
    bool ClearKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode);
    // Whether spares can carry four levels (not through the core protocol).
    bool FourLevels() const { return Route != rtCore; }

private:
    enum TRoute { rtXkb, rtCore };
    bool Send(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count);
    bool SendXkb(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count);
    bool SendCore(std::uint8_t Keycode, const KeySym* Symbols, int Count);
    // Whether the server's core map shows the key with Symbols (Count 0: empty).
    bool Holds(std::uint8_t Keycode, const KeySym* Symbols, int Count);

    Display* Connection = nullptr;
    TRoute Route = rtXkb;
};
