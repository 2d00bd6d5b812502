#pragma once
// What every key of a keymap types, as libxkbcommon computes it: the key's type, its level
// and XKB's rule that a locked Lock capitalizes what a key whose type does not consume Lock
// types. The character a key shows is found among these, so a key is pressed only where it
// types that character under the user's own locks. Pure libxkbcommon, no server: the
// program reads the server's keymap into it, tests compile layouts from xkb-data.
#include "X11Keysyms.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct xkb_keymap;

// Where a character is typed: the key, the group to have active for it, and the modifiers the
// sender adds (the Shift key and the level-3 key, pressed around it).
struct TKeyPlace {
    std::uint8_t Keycode = 0;
    int Group = 0;
    bool Shift = false;
    bool Level3 = false;

    bool operator==(const TKeyPlace&) const = default;
};

class TXkbTyping {
public:
    // Takes a reference on Keymap.
    explicit TXkbTyping(xkb_keymap* Keymap);
    ~TXkbTyping();
    TXkbTyping(const TXkbTyping&) = delete;
    TXkbTyping& operator=(const TXkbTyping&) = delete;

    // The cheapest place that types Character with Group active and LockedModifiers (core
    // modifier bits) locked; failing that, one in another group (the sender locks it for the
    // key). None when no key types it under these locks.
    std::optional<TKeyPlace> Find(char32_t Character, int Group, unsigned LockedModifiers) const;
    // The key whose first level is ISO_Level3_Shift (the right Alt key preferred), 0 if none,
    // and the modifiers that pressing it sets.
    std::uint8_t Level3Key() const { return Level3Keycode; }
    unsigned Level3Mask() const { return Level3Modifiers; }

private:
    struct TSlot {
        char32_t Character = 0;
        TKeyPlace Place;
    };
    void Build(unsigned LockedModifiers) const;

    xkb_keymap* Keymap = nullptr;
    std::uint8_t ShiftKeycode = 0; // the key the sender holds for Shift: Shift_L's
    std::uint8_t Level3Keycode = 0;
    unsigned Level3Modifiers = 0;
    // Built for one lock state at a time: the user rarely changes it.
    mutable std::optional<unsigned> BuiltFor;
    mutable std::vector<TSlot> Slots; // by character, the cheapest first
};
