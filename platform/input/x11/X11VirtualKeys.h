#pragma once
// Windows virtual-key codes for the keys of an XKB keymap. A key is named by XKB (AC01, TAB,
// LFSH); its virtual key is the one the key at that place has on a US keyboard. Letters are
// the exception, as on Windows: the virtual key 'A' is the key that types "a" on the current
// layout, wherever it sits, so a Control chord with 'V' is Control+V on AZERTY and Dvorak too.
#include <cstdint>
#include <string_view>

namespace X11VirtualKeys {

constexpr std::uint8_t VkShift = 0x10;
constexpr std::uint8_t VkControl = 0x11;
constexpr std::uint8_t VkMenu = 0x12;
constexpr std::uint8_t VkLeftShift = 0xA0;
constexpr std::uint8_t VkRightMenu = 0xA5; // AltGr: the key that selects level 3

// Virtual keys that Windows leaves unassigned. The backend lends them out for characters that
// need more than a key and a level: a key of another group, or a spare keycode remapped.
constexpr std::uint8_t ReservedVirtualKeys[] = {0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x97,
    0x98, 0x99, 0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F};

// The virtual key of the key at XKB position Name, or 0 when the position has none.
std::uint8_t VirtualKeyForKeyName(std::string_view Name);

} // namespace X11VirtualKeys
