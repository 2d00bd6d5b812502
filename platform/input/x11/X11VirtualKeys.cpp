#include "X11VirtualKeys.h"

#include <array>
#include <utility>

namespace X11VirtualKeys {
namespace {

struct TNamedKey {
    std::string_view Name;
    std::uint8_t VirtualKey;
};

// Positions of a US keyboard (pc105 with evdev names) and their virtual keys.
constexpr TNamedKey NamedKeys[] = {
    {"ESC", 0x1B}, {"TAB", 0x09}, {"BKSP", 0x08}, {"RTRN", 0x0D}, {"SPCE", 0x20}, {"CAPS", 0x14},
    {"TLDE", 0xC0}, {"AE01", 0x31}, {"AE02", 0x32}, {"AE03", 0x33}, {"AE04", 0x34}, {"AE05", 0x35},
    {"AE06", 0x36}, {"AE07", 0x37}, {"AE08", 0x38}, {"AE09", 0x39}, {"AE10", 0x30}, {"AE11", 0xBD},
    {"AE12", 0xBB}, {"AD01", 'Q'}, {"AD02", 'W'}, {"AD03", 'E'}, {"AD04", 'R'}, {"AD05", 'T'},
    {"AD06", 'Y'}, {"AD07", 'U'}, {"AD08", 'I'}, {"AD09", 'O'}, {"AD10", 'P'}, {"AD11", 0xDB},
    {"AD12", 0xDD}, {"BKSL", 0xDC}, {"AC01", 'A'}, {"AC02", 'S'}, {"AC03", 'D'}, {"AC04", 'F'},
    {"AC05", 'G'}, {"AC06", 'H'}, {"AC07", 'J'}, {"AC08", 'K'}, {"AC09", 'L'}, {"AC10", 0xBA},
    {"AC11", 0xDE}, {"LSGT", 0xE2}, {"AB01", 'Z'}, {"AB02", 'X'}, {"AB03", 'C'}, {"AB04", 'V'},
    {"AB05", 'B'}, {"AB06", 'N'}, {"AB07", 'M'}, {"AB08", 0xBC}, {"AB09", 0xBE}, {"AB10", 0xBF},
    {"LFSH", 0xA0}, {"RTSH", 0xA1}, {"LCTL", 0xA2}, {"RCTL", 0xA3}, {"LALT", 0xA4}, {"RALT", 0xA5},
    {"LWIN", 0x5B}, {"RWIN", 0x5C}, {"COMP", 0x5D}, {"MENU", 0x5D},
    {"FK01", 0x70}, {"FK02", 0x71}, {"FK03", 0x72}, {"FK04", 0x73}, {"FK05", 0x74}, {"FK06", 0x75},
    {"FK07", 0x76}, {"FK08", 0x77}, {"FK09", 0x78}, {"FK10", 0x79}, {"FK11", 0x7A}, {"FK12", 0x7B},
    {"PRSC", 0x2C}, {"SCLK", 0x91}, {"PAUS", 0x13}, {"INS", 0x2D}, {"HOME", 0x24}, {"PGUP", 0x21},
    {"DELE", 0x2E}, {"END", 0x23}, {"PGDN", 0x22}, {"UP", 0x26}, {"LEFT", 0x25}, {"DOWN", 0x28},
    {"RGHT", 0x27}, {"NMLK", 0x90}, {"KPDV", 0x6F}, {"KPMU", 0x6A}, {"KPSU", 0x6D}, {"KPAD", 0x6B},
    {"KPDL", 0x6E}, {"KP0", 0x60}, {"KP1", 0x61}, {"KP2", 0x62}, {"KP3", 0x63}, {"KP4", 0x64},
    {"KP5", 0x65}, {"KP6", 0x66}, {"KP7", 0x67}, {"KP8", 0x68}, {"KP9", 0x69},
};

} // namespace

std::uint8_t VirtualKeyForKeyName(std::string_view Name)
{
    for (const auto& Key : NamedKeys)
        if (Key.Name == Name)
            return Key.VirtualKey;
    return 0;
}

} // namespace X11VirtualKeys
