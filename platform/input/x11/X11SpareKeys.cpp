#include "X11SpareKeys.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <thread>

TX11SpareKeys::TX11SpareKeys(Display* Connection)
    : Connection(Connection)
    , FourLevelAlphabetic(XInternAtom(Connection, "FOUR_LEVEL_ALPHABETIC", False))
{
}

std::pair<KeySym, KeySym> TX11SpareKeys::CasePair(KeySym Keysym)
{
    KeySym Lower = Keysym, Upper = Keysym;
    XConvertCase(Keysym, &Lower, &Upper);
    if (Lower == Upper || (Keysym != Lower && Keysym != Upper))
        return {Keysym, Keysym};
    return {Lower, Upper};
}

bool TX11SpareKeys::Carries(XkbDescPtr Keymap, const TSpare& Spare) const
{
    const int Keycode = Spare.Keycode;
    if (XkbKeyNumGroups(Keymap, Keycode) != 1)
        return false;
    for (int Half = 0; Half < 2; ++Half) {
        const KeySym Keysym = Spare.Halves[Half].Keysym;
        if (Keysym != NoSymbol
            && (XkbKeyGroupWidth(Keymap, Keycode, 0) <= 2 * Half || XkbKeySymEntry(Keymap, Keycode, 2 * Half, 0) != Keysym))
            return false;
    }
    return true;
}

void TX11SpareKeys::Adopt(XkbDescPtr Keymap)
{
    FourLevelType = -1;
    for (int Index = 0; Index < Keymap->map->num_types; ++Index)
        if (Keymap->map->types[Index].name == FourLevelAlphabetic && Keymap->map->types[Index].num_levels == 4)
            FourLevelType = Index;
    std::vector<TSpare> Kept;
    for (int Keycode = Keymap->max_key_code; Keycode > Keymap->min_key_code; --Keycode) {
        auto Known = std::find_if(Spares.begin(), Spares.end(), [&](const TSpare& Spare) { return Spare.Keycode == Keycode; });
        if (XkbKeyNumGroups(Keymap, Keycode) == 0) {
            TSpare Spare {KeyCode(Keycode)};
            if (Known != Spares.end())
                for (int Half = 0; Half < 2; ++Half)
                    Spare.Halves[Half].LastUsed = Known->Halves[Half].LastUsed;
            Kept.push_back(Spare);
        } else if (Known != Spares.end() && Carries(Keymap, *Known)) {
            Kept.push_back(*Known);
        }
    }
    Spares = std::move(Kept);
}

void TX11SpareKeys::Touch(KeyCode Keycode)
{
    for (auto& Spare : Spares)
        if (Spare.Keycode == Keycode)
            for (auto& Half : Spare.Halves)
                if (Half.Keysym != NoSymbol)
                    Half.LastUsed = TClock::now();
}

bool TX11SpareKeys::Remap(XkbDescPtr Keymap, const TSpare& Spare, int ChangedHalf)
{
    const auto First = CasePair(Spare.Halves[0].Keysym);
    const auto Second = CasePair(Spare.Halves[1].Keysym);
    const bool FourLevels = Spare.Halves[1].Keysym != NoSymbol && FourLevelType >= 0;
    // The alphabetic types consume Shift and Caps Lock, so a keysym without cases, on both
    // levels of its pair, comes out the same whatever of them is held or locked.
    // (The key's entry is set by hand: XkbChangeTypesOfKey reaches for the server part of the
    // keymap, which a client-side copy does not hold, when a key grows from two levels to four.)
    const int Levels = FourLevels ? 4 : 2;
    KeySym* Symbols = XkbResizeKeySyms(Keymap, Spare.Keycode, Levels);
    if (!Symbols)
        return false;
    XkbSymMapRec& Entry = Keymap->map->key_sym_map[Spare.Keycode];
    Entry.kt_index[0] = FourLevels ? FourLevelType : XkbAlphabeticIndex;
    Entry.group_info = XkbSetGroupInfo(1, XkbWrapIntoRange, 0);
    Entry.width = std::uint8_t(Levels);
    Symbols[0] = First.first;
    Symbols[1] = First.second;
    if (FourLevels) {
        Symbols[2] = Second.first;
        Symbols[3] = Second.second;
    }
    XkbMapChangesRec Changes {};
    Changes.changed = XkbKeySymsMask;
    Changes.first_key_sym = Spare.Keycode;
    Changes.num_key_syms = 1;
    if (!XkbChangeMap(Connection, Keymap, &Changes))
        return false;
    // Read the key back from the server: the reply comes after the change, so what it shows is
    // what every client that looks at the key from now on will see.
    int CoreWidth = 0;
    KeySym* Core = XGetKeyboardMapping(Connection, Spare.Keycode, 1, &CoreWidth);
    const KeySym Wanted = ChangedHalf == 1 ? Second.first : First.first;
    const bool Confirmed = Core && std::find(Core, Core + CoreWidth, Wanted) != Core + CoreWidth;
    if (Core)
        XFree(Core);
    return Confirmed;
}

bool TX11SpareKeys::Acquire(XkbDescPtr Keymap, KeySym Wanted, bool Level3)
{
    const KeySym Keysym = CasePair(Wanted).first;
    const int Halves = Level3 && FourLevelType >= 0 ? 2 : 1;
    for (auto& Spare : Spares)
        for (int Half = 0; Half < Halves; ++Half)
            if (Spare.Halves[Half].Keysym == Keysym)
                return true;
    // A free first half, then a free second half, then the half that has rested longest.
    TSpare* Chosen = nullptr;
    int ChosenHalf = 0;
    for (int Half = 0; Half < Halves && !Chosen; ++Half)
        for (auto& Spare : Spares)
            if (!Chosen && Spare.Halves[Half].Keysym == NoSymbol && (Half == 0 || Spare.Halves[0].Keysym != NoSymbol)) {
                Chosen = &Spare;
                ChosenHalf = Half;
            }
    if (!Chosen) {
        for (auto& Spare : Spares)
            for (int Half = 0; Half < Halves; ++Half)
                if (!Chosen || Spare.Halves[Half].LastUsed < Chosen->Halves[ChosenHalf].LastUsed) {
                    Chosen = &Spare;
                    ChosenHalf = Half;
                }
        if (!Chosen)
            return false;
        const auto Rested = TClock::now() - Chosen->Halves[ChosenHalf].LastUsed;
        if (Rested < RestTime)
            std::this_thread::sleep_for(RestTime - Rested);
    }
    Chosen->Halves[ChosenHalf] = {Keysym, TClock::now()};
    if (!Remap(Keymap, *Chosen, ChosenHalf)) {
        Chosen->Halves[ChosenHalf].Keysym = NoSymbol;
        return false;
    }
    return true;
}

void TX11SpareKeys::RestoreAll(XkbDescPtr Keymap)
{
    TClock::time_point Latest {};
    for (const auto& Spare : Spares)
        for (const auto& Half : Spare.Halves)
            if (Half.Keysym != NoSymbol)
                Latest = std::max(Latest, Half.LastUsed);
    if (Latest == TClock::time_point {})
        return;
    const auto Rested = TClock::now() - Latest;
    if (Rested < RestTime)
        std::this_thread::sleep_for(RestTime - Rested);
    // One request for all of them: every client reloads its keymap once, not once per spare.
    XkbMapChangesRec Changes {};
    int First = 256, Last = -1;
    for (auto& Spare : Spares) {
        if (Spare.Halves[0].Keysym == NoSymbol && Spare.Halves[1].Keysym == NoSymbol)
            continue;
        int NoTypes[XkbNumKbdGroups] = {};
        if (XkbChangeTypesOfKey(Keymap, Spare.Keycode, 0, XkbGroup1Mask, NoTypes, &Changes) != Success)
            continue;
        First = std::min(First, int(Spare.Keycode));
        Last = std::max(Last, int(Spare.Keycode));
        Spare.Halves = {};
    }
    if (Last < 0)
        return;
    Changes.changed |= XkbKeySymsMask;
    Changes.first_key_sym = KeyCode(First);
    Changes.num_key_syms = Last - First + 1;
    XkbChangeMap(Connection, Keymap, &Changes);
}
