#pragma once
// What the keypad font Lumera draws for each 8-bit code, as Unicode characters.
//
// KIVO types plain 8-bit codes; the user's editor, set to Lumera, draws them as Greek letters
// and marks. Lumera is not part of KIVO. Where it is not installed, the keys, the accent
// toolbar and the logo lettering show these characters instead, in a Greek-capable family.
// This is for display only: captions and the codes typed never change.
#include <QString>

#include <array>

// LumeraGlyphs[code] is the character shown for code; 0 shows the code itself.
extern const std::array<char32_t, 256> LumeraGlyphs;

// The installed family that draws the table's characters.
QString LumeraSubstituteFamily();

// Registers the table for the face "Lumera", and installed faces for the two outside faces of
// the window descriptions: "MS Sans Serif" (a sans with its widths, else the desktop's sans)
// and "Tempus Sans ITC" (a decorative face). Call once the application object exists.
void RegisterDisplayFonts();
