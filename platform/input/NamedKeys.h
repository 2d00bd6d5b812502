#pragma once
// A named key as Linux input knows it, whatever the display server: the keysym it carries
// (the one with Num Lock on, for the keypad) and its key code on a PC keyboard (evdev; XKB's
// keycodes are 8 more). Input methods send these, and a keymap of KIVO's own is built from
// them. The X11 backend finds its keys on the server's keymap instead.
#include "InputBackend.h"

#include <cstdint>

struct TLinuxKey {
    std::uint32_t Keysym = 0;
    std::uint32_t EvdevCode = 0;
};
// {0, 0} for nkNamedKeyCount.
TLinuxKey LinuxKeyOf(TNamedKey Key);
