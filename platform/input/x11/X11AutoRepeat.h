#pragma once
// The desktop's key repeat, as the X server keeps it (the settings of `xset r rate`). No X11
// header leaks from here.
#include <optional>

struct TKeyRepeatSettings {
    // How long a key is held before it first repeats, and the time between two repeats.
    int DelayMilliseconds = 0;
    int IntervalMilliseconds = 0;
};

// The X server's repeat delay and interval, read now, so that a change the user makes while
// KIVO runs is followed. None when repeat is turned off (`xset r off`) or there is no display
// or XKB. Uses a connection of its own to $DISPLAY, opened at the first call and kept.
std::optional<TKeyRepeatSettings> ReadKeyRepeatSettings();
