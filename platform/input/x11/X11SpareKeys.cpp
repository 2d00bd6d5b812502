#include "X11SpareKeys.h"

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

bool TX11SpareKeys::Owns(KeyCode Keycode, KeySym Keysym) const
{
    return std::any_of(Spares.begin(), Spares.end(),
        [&](const TSpare& Spare) { return Spare.Keycode == Keycode && Spare.Keysym == Keysym; });
}

bool TX11SpareKeys::Remap(XkbDescPtr Keymap, KeyCode Keycode, KeySym Keysym)
{
    XkbMapChangesRec Changes {};
    if (Keysym == NoSymbol) {
        int NoTypes[XkbNumKbdGroups] = {};
        if (XkbChangeTypesOfKey(Keymap, Keycode, 0, XkbGroup1Mask, NoTypes, &Changes) != Success)
            return false;
    } else {
        // Two levels of ALPHABETIC, both the keysym: Shift and Caps Lock are consumed by the type,
        // so neither a held Shift nor a locked Caps Lock changes the character.
        int Types[XkbNumKbdGroups] = {XkbAlphabeticIndex};
        if (XkbChangeTypesOfKey(Keymap, Keycode, 1, XkbGroup1Mask, Types, &Changes) != Success)
            return false;
        KeySym* Symbols = XkbKeySymsPtr(Keymap, Keycode);
        Symbols[0] = Symbols[1] = Keysym;
    }
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

KeyCode TX11SpareKeys::Acquire(XkbDescPtr Keymap, KeySym Keysym)
{
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
    if (!Remap(Keymap, Oldest->Keycode, Keysym)) {
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
    for (auto& Spare : Spares) {
        if (Spare.Keysym != NoSymbol && Remap(Keymap, Spare.Keycode, NoSymbol))
            Spare.Keysym = NoSymbol;
    }
}
