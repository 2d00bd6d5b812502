#pragma once
// A keyboard map as plain data, and the questions the backend asks of it: which key, group and
// level type a character under the current locks (libxkbcommon answers that, see
// TXkbTyping), which key carries a keysym, which keys are empty, which levels a key type gives
// (for the spare keys). Built from the server's XKB map by TX11Keymap; tests build one by hand.
// No Xlib call here, so every answer is a pure function of the map and the state passed in.
#include "X11Keysyms.h"
#include "X11XkbTyping.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The core modifier bits as X numbers them.
inline constexpr unsigned ShiftModifierBit = 1u << 0;
inline constexpr unsigned LockModifierBit = 1u << 1;

// How a key type turns modifiers into a level: the entry whose modifiers equal the relevant
// ones (those in Mask) gives the level; no entry means level 0.
struct TX11KeyType {
    struct TEntry {
        unsigned Modifiers = 0;
        int Level = 0;
    };
    std::string Name;
    unsigned Mask = 0;
    int Levels = 1;
    std::vector<TEntry> Entries;

    int LevelFor(unsigned Modifiers) const;
};

struct TX11KeyGroup {
    int Type = 0; // index into the map's types
    std::vector<TKeysym> Levels;
};

struct TX11Key {
    std::string Name; // XKB's name of the place: AC01, RALT
    std::vector<TX11KeyGroup> Groups;
    unsigned Modifiers = 0; // the modifier map's bits for this key
};

// The modifiers (Shift, level 3) that select Level of Type under the locked modifiers, the
// cheapest first; none when no combination of them reaches it.
struct TLevelFrame {
    bool Shift = false;
    bool Level3 = false;
};
std::optional<TLevelFrame> FrameForLevel(const TX11KeyType& Type, int Level, unsigned LockedModifiers, unsigned Level3Mask);

class TX11KeymapModel {
public:
    int MinKeycode = 8;
    int MaxKeycode = 255;
    std::vector<TX11KeyType> Types;
    std::array<TX11Key, 256> Keys {};
    // What the keys type; set by whoever has the keymap as libxkbcommon's.
    std::shared_ptr<const TXkbTyping> Typing;

    // Call after filling in the map: finds the level-3 key.
    void Index();

    // The cheapest place that types Character in Group (the active one) under LockedModifiers;
    // failing that, one in another group (which the sender must lock for the key).
    std::optional<TKeyPlace> Find(char32_t Character, int Group, unsigned LockedModifiers) const
    {
        return Typing ? Typing->Find(Character, Group, LockedModifiers) : std::nullopt;
    }
    // The key that carries Keysym, on its first level where one does; 0 if none.
    std::uint8_t KeycodeOf(TKeysym Keysym) const;
    bool IsEmpty(int Keycode) const { return Keys[std::size_t(Keycode)].Groups.empty(); }
    int TypeIndex(const std::string& Name) const;
    // The key that selects level 3 (ISO_Level3_Shift, the right Alt key preferred), 0 if none,
    // and the modifier it sets.
    std::uint8_t Level3Key() const { return Level3Keycode; }
    unsigned Level3Mask() const { return Level3Modifiers; }

private:
    std::uint8_t Level3Keycode = 0;
    unsigned Level3Modifiers = 0;
};
