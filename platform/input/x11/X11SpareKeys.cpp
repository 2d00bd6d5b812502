#include "X11SpareKeys.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <thread>

void TX11SpareKeys::Adopt(XkbDescPtr Keymap)
{
    std::vector<TSpare> Kept;
    for (int Keycode = Keymap->max_key_code; Keycode > Keymap->min_key_code; --Keycode) {
        const int Groups = XkbKeyNumGroups(Keymap, Keycode);
        auto Known = std::find_if(Spares.begin(), Spares.end(), [&](const TSpare& Spare) { return Spare.Keycode == Keycode; });
        if (Groups == 0) {
            TSpare Spare {KeyCode(Keycode)};
            if (Known != Spares.end())
                Spare.LastUsed = Known->LastUsed;
            Kept.push_back(Spare);
        } else if (Known != Spares.end() && Known->Keysym != NoSymbol && Groups == 1
            && XkbKeySymEntry(Keymap, Keycode, 0, 0) == Known->Keysym) {
            Kept.push_back(*Known);
        }
    }
    Spares = std::move(Kept);
}

std::pair<KeySym, KeySym> TX11SpareKeys::CasePair(KeySym Keysym)
{
    KeySym Lower = Keysym, Upper = Keysym;
    XConvertCase(Keysym, &Lower, &Upper);
    if (Lower == Upper || (Keysym != Lower && Keysym != Upper))
        return {Keysym, Keysym};
    return {Lower, Upper};
}

void TX11SpareKeys::Touch(KeyCode Keycode)
{
    for (auto& Spare : Spares)
        if (Spare.Keycode == Keycode && Spare.Keysym != NoSymbol)
            Spare.LastUsed = TClock::now();
}

bool TX11SpareKeys::Remap(XkbDescPtr Keymap, KeyCode Keycode, std::pair<KeySym, KeySym> Keysyms)
{
    const KeySym Keysym = Keysyms.first;
    // ALPHABETIC consumes Shift and Caps Lock, so a keysym without cases, on both levels,
    // comes out the same whatever of them is held or locked.
    XkbMapChangesRec Changes {};
    int Types[XkbNumKbdGroups] = {XkbAlphabeticIndex};
    if (XkbChangeTypesOfKey(Keymap, Keycode, 1, XkbGroup1Mask, Types, &Changes) != Success)
        return false;
    KeySym* Symbols = XkbKeySymsPtr(Keymap, Keycode);
    Symbols[0] = Keysyms.first;
    Symbols[1] = Keysyms.second;
    Changes.changed |= XkbKeySymsMask;
    Changes.first_key_sym = Keycode;
    Changes.num_key_syms = 1;
    if (!XkbChangeMap(Connection, Keymap, &Changes))
        return false;
    // Read the key back from the server: the reply comes after the change, so what it shows is
    // what every client that looks at the key from now on will see.
    int Width = 0;
    KeySym* Core = XGetKeyboardMapping(Connection, Keycode, 1, &Width);
    const KeySym First = Core && Width > 0 ? Core[0] : NoSymbol;
    if (Core)
        XFree(Core);
    return First == Keysym;
}

KeyCode TX11SpareKeys::Acquire(XkbDescPtr Keymap, KeySym Wanted)
{
    const auto Pair = CasePair(Wanted);
    const KeySym Keysym = Pair.first;
    const auto Now = TClock::now();
    for (auto& Spare : Spares) {
        if (Spare.Keysym == Keysym) {
            Spare.LastUsed = Now;
            return Spare.Keycode;
        }
    }
    if (Spares.empty())
        return 0;
    // The spare that has rested longest; one never used counts as rested forever.
    auto Oldest = std::min_element(Spares.begin(), Spares.end(), [](const TSpare& Left, const TSpare& Right) {
        return Left.LastUsed < Right.LastUsed;
    });
    if (Oldest->Keysym != NoSymbol && Now - Oldest->LastUsed < RestTime)
        std::this_thread::sleep_for(RestTime - (Now - Oldest->LastUsed));
    if (!Remap(Keymap, Oldest->Keycode, Pair)) {
        Oldest->Keysym = NoSymbol;
        return 0;
    }
    Oldest->Keysym = Keysym;
    Oldest->LastUsed = TClock::now();
    return Oldest->Keycode;
}

void TX11SpareKeys::RestoreAll(XkbDescPtr Keymap)
{
    TClock::time_point Latest {};
    for (const auto& Spare : Spares)
        if (Spare.Keysym != NoSymbol)
            Latest = std::max(Latest, Spare.LastUsed);
    if (Latest == TClock::time_point {})
        return;
    const auto Rested = TClock::now() - Latest;
    if (Rested < RestTime)
        std::this_thread::sleep_for(RestTime - Rested);
    // One request for all of them: every client reloads its keymap once, not once per spare.
    XkbMapChangesRec Changes {};
    int First = 256, Last = -1;
    for (auto& Spare : Spares) {
        if (Spare.Keysym == NoSymbol)
            continue;
        int NoTypes[XkbNumKbdGroups] = {};
        if (XkbChangeTypesOfKey(Keymap, Spare.Keycode, 0, XkbGroup1Mask, NoTypes, &Changes) != Success)
            continue;
        First = std::min(First, int(Spare.Keycode));
        Last = std::max(Last, int(Spare.Keycode));
        Spare.Keysym = NoSymbol;
    }
    if (Last < 0)
        return;
    Changes.changed |= XkbKeySymsMask;
    Changes.first_key_sym = KeyCode(First);
    Changes.num_key_syms = Last - First + 1;
    XkbChangeMap(Connection, Keymap, &Changes);
}
