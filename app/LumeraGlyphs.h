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

// What each key and accent button types in Unicode output: the table above, with the capitals
// the keypad font lacks taken from Unicode (shifted j, v and w are Xi, Omega and Sigma).
extern const std::array<char32_t, 256> UnicodeKeyGlyphs;

// The installed family that draws the table's characters.
QString LumeraSubstituteFamily();

// Registers the table for the face "Lumera", and installed faces for the two outside faces of
// the window descriptions: "MS Sans Serif" (a sans with its widths, else the desktop's sans)
// and "Tempus Sans ITC" (a decorative face). Call once the application object exists.
void RegisterDisplayFonts();

// Makes the face "Lumera" show what the keys type: in Unicode output the Unicode table, even
// where the font Lumera is installed; otherwise LumeraGlyphs, only where it is not.
// Captions already shown keep their text until they are set again.
void ShowGlyphsForUnicodeOutput(bool UnicodeOutput);
