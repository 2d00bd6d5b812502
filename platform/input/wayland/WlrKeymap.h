#pragma once
// The keymap KIVO's virtual keyboard carries. A compositor passes the keymap of the keyboard
// that typed last on to the program in focus, so a keymap of our own types any character on
// any layout while the user's keyboard keeps its own: the named keys sit at their usual PC
// keycodes, the ASCII characters of a US keyboard's unshifted keys at theirs, and every other
// character gets a spare keycode of its own, one level, no modifier needed. Keycodes stay
// within 8..255 so that XWayland programs can have them too; when the spare ones run out, the
// one used longest ago (and not held) is given to the new character.
#include "InputBackend.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class TWlrKeymap {
public:
    TWlrKeymap();

    // The XKB keycode (evdev code + 8) of a named key; every named key has one.
    static std::uint32_t KeycodeOfNamedKey(TNamedKey Key);
    // The named key that types Character where a key of its own does (Tab, Return, BackSpace,
    // Escape, Delete, space); nothing for other characters.
    static std::optional<TNamedKey> NamedKeyOfCharacter(char32_t Character);

    struct TAssignment {
        std::uint32_t Keycode = 0;
        // The keymap had to change: it must be sent again before the key is pressed.
        bool KeymapChanged = false;
    };
    // The keycode that types Character, given one if it has none. Nothing for a character no
    // key can carry (a surrogate, a value beyond Unicode, a control character without a key) or
    // when every spare keycode is held.
    std::optional<TAssignment> Assign(char32_t Character);
    // Whether a key of this keymap can carry Character at all.
    static bool CanCarry(char32_t Character);
    // Held keys keep their character until released.
    void SetHeld(std::uint32_t Keycode, bool Held);

    // The character a keycode types now; 0 for none (a named key or an unused keycode).
    char32_t CharacterOf(std::uint32_t Keycode) const { return Keycode < Characters.size() ? Characters[Keycode] : 0; }
    // The whole keymap in XKB's text format.
    std::string Text() const;

    static constexpr std::uint32_t FirstKeycode = 9;
    static constexpr std::uint32_t LastKeycode = 255;

private:
    void Place(std::uint32_t Keycode, char32_t Character);

    std::array<char32_t, LastKeycode + 1> Characters {};
    std::array<bool, LastKeycode + 1> Named {};
    std::array<bool, LastKeycode + 1> Fixed {};
    std::array<bool, LastKeycode + 1> Held {};
    std::array<std::uint64_t, LastKeycode + 1> LastUse {};
    std::uint64_t UseCounter = 0;
};
