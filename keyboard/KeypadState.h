#pragma once
// The keypad's one-shot shift and its caps lock, and the case a character key types in. A plain
// class: the keypad wires it to its keys, its captions and its events.
#include "KeyboardTypes.h"

#include <string>
#include <utility>

class TKeypadState {
public:
    bool ShiftActive = false;
    bool CapsActive = false;

    // A click on either Shift key; the new shift.
    bool ClickShift() { return ShiftActive = !ShiftActive; }
    // A click on Caps: caps inverted, and any shift ends with it; the new caps.
    bool ClickCaps()
    {
        ShiftActive = false;
        return CapsActive = !CapsActive;
    }
    // After any other key where shift is one-shot: whether a shift was on (it is off now).
    bool ReleaseShift() { return std::exchange(ShiftActive, false); }
    // The character a key captioned Caption types: its first character in the case that
    // CharCase and the states give (ASCII letters only change). Caption is not empty.
    char CharacterOf(const std::string& Caption, TEditCharCase CharCase) const
    {
        const char First = Caption.front();
        const bool Upper = CharCase == ecUpperCase || (CharCase == ecNormal && ShiftActive != CapsActive);
        if (Upper && First >= 'a' && First <= 'z')
            return static_cast<char>(First - 'a' + 'A');
        if (!Upper && First >= 'A' && First <= 'Z')
            return static_cast<char>(First - 'A' + 'a');
        return First;
    }
};
