#pragma once
// Display substitutes for fonts that draw ordinary 8-bit characters as other letters.
//
// The keypad font draws plain Latin-1 codes as Greek letters and marks. Where that font is not
// installed, a button captioned with its codes would show Latin letters instead. A substitute
// pairs such a face with an installed family and a table that says which Unicode character each
// code stands for. It changes only what is drawn: captions, key strings and the characters that
// are typed stay the 8-bit codes.
#include <QString>

#include <array>
#include <string>

// Registers (or replaces) the substitute for Face. Glyphs[code] is the character shown for that
// code; an entry of 0 shows the code itself as Latin-1. Face names compare case-insensitively.
// The substitute stands in only where Face is not installed, unless EvenWhereInstalled (where
// the table, not the face, says what the codes mean).
void RegisterFontSubstitute(const std::string& Face, const QString& SubstituteFamily,
    const std::array<char32_t, 256>& Glyphs, bool EvenWhereInstalled = false);

// Forgets the substitute for Face, if any.
void UnregisterFontSubstitute(const std::string& Face);

// True when Face has a substitute in force (see RegisterFontSubstitute).
bool IsFontSubstituted(const std::string& Face);

// Text as it is to be drawn in Face: mapped through the table when Face is substituted,
// otherwise read as Latin-1.
QString DisplayText(const std::string& Face, const std::string& Text);

// The family to ask Qt for when drawing in Face.
QString DisplayFamily(const std::string& Face);
