#pragma once
// Keycodes that the keymap leaves without symbols, lent out to type characters that no key of
// the layout types. A spare is remapped to the keysym, the server is asked back for the key's
// symbols before the key is pressed, and the spare keeps its keysym afterwards: target programs
// read a changed keymap only when they handle the key, sometimes long after it was sent, so a
// spare is given a new keysym only when it has rested for RestTime, and is cleared only at the
// end (again after RestTime). A keysym typed again reuses its spare without any remapping.
#include <X11/XKBlib.h>

#include <chrono>
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
    // A keycode that types Keysym once pressed, or 0 when none could be set up.
    KeyCode Acquire(XkbDescPtr Keymap, KeySym Keysym);
    bool Owns(KeyCode Keycode, KeySym Keysym) const;
    // Gives every spare its empty mapping back, once the last one has rested.
    void RestoreAll(XkbDescPtr Keymap);
    std::size_t Size() const { return Spares.size(); }

private:
    struct TSpare {
        KeyCode Keycode = 0;
        KeySym Keysym = NoSymbol;
        TClock::time_point LastUsed {};
    };
    bool Remap(XkbDescPtr Keymap, KeyCode Keycode, KeySym Keysym);

    Display* Connection = nullptr;
    std::vector<TSpare> Spares;
};
