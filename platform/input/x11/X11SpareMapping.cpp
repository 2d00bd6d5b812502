#include "X11SpareMapping.h"

#include "X11ErrorTrap.h"

#include <X11/Xlib.h>

#include <algorithm>

bool TX11SpareMapping::Holds(std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    int PerKeycode = 0;
    KeySym* Core = XGetKeyboardMapping(Connection, Keycode, 1, &PerKeycode);
    if (!Core)
        return false;
    // The core view of an XKB key shows its first group's first two levels in columns 0 and 1;
    // an empty key shows NoSymbol everywhere.
    bool Same = true;
    const int Checked = Count ? std::min(PerKeycode, 2) : PerKeycode;
    for (int Column = 0; Column < Checked; ++Column)
        Same = Same && Core[Column] == (Column < Count ? Symbols[Column] : NoSymbol);
    XFree(Core);
    return Same;
}

bool TX11SpareMapping::SendXkb(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    {
        // A refusal is this trap's, not one for the program's error output.
        TX11ErrorTrap Trap(Connection, "mapping a spare key");
        XkbChangeMap(Connection, Map, &Changes);
        Trap.Failed();
    }
    return Holds(Keycode, Symbols, Count);
}

bool TX11SpareMapping::SendCore(std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    {
        TX11ErrorTrap Trap(Connection, "mapping a spare key");
        // One column of NoSymbol empties the key: the server fills the other columns the same.
        KeySym Columns[2] = {NoSymbol, NoSymbol};
        for (int Column = 0; Column < Count; ++Column)
            Columns[Column] = Symbols[Column];
        XChangeKeyboardMapping(Connection, Keycode, Count ? Count : 1, Columns, 1);
        Trap.Failed();
    }
    return Holds(Keycode, Symbols, Count);
}

bool TX11SpareMapping::Send(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    if (Route == rtXkb) {
        if (SendXkb(Map, Changes, Keycode, Symbols, Count))
            return true;
        Route = rtCore;
    }
    return Count <= 2 && SendCore(Keycode, Symbols, Count);
}

bool TX11SpareMapping::SetKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Levels)
{
    return Send(Map, Changes, Keycode, Symbols, Levels);
}

bool TX11SpareMapping::ClearKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode)
{
    return Send(Map, Changes, Keycode, nullptr, 0);
}
