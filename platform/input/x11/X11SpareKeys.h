#pragma once
// Keycodes that the keymap leaves without symbols, lent out to type characters that no key of
// the layout types. A spare is remapped to the keysym, the server is asked back for the key's
// symbols before the key is pressed, and the spare keeps its keysym afterwards: target programs
// read a changed keymap only when they handle the key, sometimes long after it was sent, so a
// spare is given a new keysym only when it has rested for RestTime, and is cleared only at the
// end (again after RestTime). A keysym typed again reuses its spare without any remapping.
// A letter is mapped with its other case, as on an ordinary key ([a, A], type ALPHABETIC), so
// both cases share one spare and Shift and Caps Lock work on it as on any letter key.
#include <X11/XKBlib.h>

#include <chrono>
#include <utility>
#include <vector>

class TX11SpareKeys {
public:
    using TClock = std::chrono::steady_clock;
    static constexpr auto RestTime = std::chrono::milliseconds(250);

    explicit TX11SpareKeys(Display* Connection)
        : Connection(Connection)
    {
    }

    // Takes a fresh keymap: spares that still carry their keysym stay lent, cleared ones become
    // free again, and keycodes that another program has given symbols leave the pool.
    void Adopt(XkbDescPtr Keymap);
    // The two keysyms a spare carries for Keysym: its lower and upper case, or itself twice.
    static std::pair<KeySym, KeySym> CasePair(KeySym Keysym);
    // A keycode that carries Keysym (at level 1 or 2, see CasePair) from now on, or 0 when
    // none could be set up.
    KeyCode Acquire(XkbDescPtr Keymap, KeySym Keysym);
    // Counts a press of a spare that is already mapped as a use: it rests from now on.
    void Touch(KeyCode Keycode);
    // Gives every spare its empty mapping back, once the last one has rested.
    void RestoreAll(XkbDescPtr Keymap);
    std::size_t Size() const { return Spares.size(); }

private:
    struct TSpare {
        KeyCode Keycode = 0;
        KeySym Keysym = NoSymbol; // level 1: the lower case of a letter
        TClock::time_point LastUsed {};
    };
    bool Remap(XkbDescPtr Keymap, KeyCode Keycode, std::pair<KeySym, KeySym> Keysyms);

    Display* Connection = nullptr;
    std::vector<TSpare> Spares;
};
