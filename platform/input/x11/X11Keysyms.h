#pragma once
// The keysyms that type one 8-bit character of the Windows ANSI code page (1252).
#include <X11/X.h>

#include <array>
#include <cstddef>

struct TKeysymCandidates {
    std::array<KeySym, 2> Keysyms {};
    std::size_t Count = 0;

    bool Contains(KeySym Keysym) const
    {
        for (std::size_t Index = 0; Index < Count; ++Index)
            if (Keysyms[Index] == Keysym)
                return true;
        return false;
    }
    // The keysym to put on a spare keycode: the Unicode keysym when the character has two.
    KeySym Preferred() const { return Count ? Keysyms[Count - 1] : NoSymbol; }
};

// Characters that no keysym names (most control codes, the holes of code page 1252) give none.
TKeysymCandidates KeysymsForCharacter(unsigned char Character);
// The Unicode code point of an 8-bit character, 0 for the holes of code page 1252.
char32_t CodePointForCharacter(unsigned char Character);
