#pragma once
// Characters and keysyms. Layouts name most characters by their pre-Unicode keysyms
// (Greek_alpha, EuroSign), a few by Unicode keysyms (0x1000000 + code point); both are the
// same character here. Keypad keysyms are no character of their own: their meaning depends on
// Num Lock.
#include <cstdint>

using TKeysym = std::uint32_t;

// The character a keysym types, 0 for none (dead keys, modifiers, function keys, the keypad).
char32_t CodePointOfKeysym(TKeysym Keysym);
// The keysym to put on a spare key for Character: Latin-1 by its own keysym, every other
// character by its Unicode keysym; the control characters that keys type (BackSpace, Tab,
// Return, Escape) by those keys' keysyms; 0 for characters no key types.
TKeysym KeysymForCodePoint(char32_t Character);
// The lower and upper case of a keysym, or the keysym twice when it has no cases.
struct TCasePair {
    TKeysym Lower = 0;
    TKeysym Upper = 0;
};
TCasePair CasePairOf(TKeysym Keysym);
