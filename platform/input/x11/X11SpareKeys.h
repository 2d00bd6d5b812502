#pragma once
// Keycodes that the keymap leaves without symbols, lent out to type characters that no key of
// the layout types. A spare is remapped to the keysym, the server is asked back for the key's
// symbols before the key is pressed, and the spare keeps its keysym afterwards: target programs
// read a changed keymap only when they handle the key, sometimes long after it was sent, so a
// spare is given a new keysym only when it has rested for RestTime, and is cleared only at the
// end (again after RestTime). A keysym typed again reuses its spare without any remapping.
//
// A letter is mapped with its other case, as on an ordinary key: both cases share a spare, and
// Shift and Caps Lock work on it as on any letter key. Where the layout has a level-3 key, a
// spare carries two such pairs, the second on levels 3 and 4 (FOUR_LEVEL_ALPHABETIC): an evdev
// keymap has only 19 spares, and 38 pairs hold every Latin letter of a Greek-only layout, so
// typing them remaps each spare once, not at every turn.
#include <X11/XKBlib.h>

#include <array>
#include <chrono>
#include <utility>
#include <vector>

class TX11SpareKeys {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr auto RestTime = std::chrono::milliseconds(250);

    explicit TX11SpareKeys(Display* Connection);

    // Takes a fresh keymap (with its type names): spares that still carry their keysyms stay
    // lent, cleared ones become free again, and keycodes that another program has given
    // symbols leave the pool.
    void Adopt(XkbDescPtr Keymap);
    // The two keysyms a spare carries for Keysym: its lower and upper case, or itself twice.
    static std::pair<KeySym, KeySym> CasePair(KeySym Keysym);
    // Maps Keysym onto a spare, unless one carries it already. Level3 says whether the active
    // group has a level-3 key, without which levels 3 and 4 cannot be reached. Afterwards the
    // keymap (the server's and Keymap) has a key typing Keysym; false when none could be set up.
    bool Acquire(XkbDescPtr Keymap, KeySym Keysym, bool Level3);
    // Counts a press of a spare as a use: it rests from now on.
    void Touch(KeyCode Keycode);
    // Gives every spare its empty mapping back, once the last one has rested.
    void RestoreAll(XkbDescPtr Keymap);
    std::size_t Size() const { return Spares.size(); }

private:
    struct THalf {
        KeySym Keysym = NoSymbol; // the lower case of a letter
        TClock::time_point LastUsed {};
    };
    struct TSpare {
        KeyCode Keycode = 0;
        std::array<THalf, 2> Halves {};
    };
    bool Remap(XkbDescPtr Keymap, const TSpare& Spare, int ChangedHalf);
    bool Carries(XkbDescPtr Keymap, const TSpare& Spare) const;

    Display* Connection = nullptr;
    Atom FourLevelAlphabetic = 0;
    int FourLevelType = -1; // index of FOUR_LEVEL_ALPHABETIC in the keymap, -1 if it has none
    std::vector<TSpare> Spares;
};
