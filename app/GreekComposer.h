#pragma once
// Turns the keypad's letters and marks into Unicode Greek as scholars' texts store it (NFC):
// a mark clicked after a letter replaces that letter by the one precomposed character for the
// letter with all its marks, where Unicode has one.
//
// The composer only decides; it never types. Each input returns the actions for a sink: type
// these code points, press BackSpace. It knows nothing of windows or X: the caller tells it
// when something else has touched the document (Forget), after which it never erases what it
// did not see typed.
//
// What one BackSpace erases differs between programs once a combining mark follows a letter
// (one code point in a terminal or a Qt editor, the whole letter in GTK), so a BackSpace is
// only ever pressed over a single code point that KIVO typed itself.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The marks of the keypad, as bits: one button may apply two of them.
enum TGreekMark : std::uint8_t {
    gmSmoothBreathing = 1 << 0,
    gmRoughBreathing = 1 << 1,
    gmAcute = 1 << 2,
    gmGrave = 1 << 3,
    gmCircumflex = 1 << 4,
    gmIotaSubscript = 1 << 5,
    gmDiaeresis = 1 << 6,
};
using TGreekMarks = std::uint8_t;

// The combining characters of Marks, in the order Unicode's decompositions put them
// (diaeresis and breathings, then accents, then the iota subscript).
std::u32string CombiningMarks(TGreekMarks Marks);

// The marks a spacing character stands for (the accent toolbar's glyphs: U+1FBF smooth
// breathing, U+1FCE smooth breathing and acute, U+00A8 diaeresis ...); 0 for anything else.
TGreekMarks MarksOfSpacingCharacter(char32_t Character);

// A letter of the Greek script that marks can sit on (not a mark, digit or punctuation).
bool IsGreekLetter(char32_t Character);

enum TComposerActionKind { cakType, cakBackSpace };

struct TComposerAction {
    TComposerActionKind Kind = cakType;
    std::u32string Text; // what to type, for cakType

    bool operator==(const TComposerAction&) const = default;
};
using TComposerActions = std::vector<TComposerAction>;

class TGreekComposer {
public:
    // Without RememberLetters (no way to see outside input) marks are always typed as
    // combining characters and Backspace is always plain.
    explicit TGreekComposer(bool RememberLetters = true);

    // A character typed from a key, in NFC. A Greek letter is remembered for the marks that
    // may follow; anything else ends the letter.
    TComposerActions TypeCharacter(char32_t Character);
    // One click of a mark button (one or two marks).
    TComposerActions ApplyMarks(TGreekMarks Marks);
    // The keypad's Backspace: right after a mark it takes that mark off the letter.
    TComposerActions Backspace();
    // Something outside KIVO touched the document: the letter before the cursor is unknown.
    void Forget();

    void SetRememberLetters(bool Remember);

private:
    struct TLetter {
        char32_t Base = 0;
        std::vector<TGreekMarks> Clicks; // the marks of each click, in click order
        std::u32string Typed; // what is in the document for it now
    };

    std::optional<TLetter> Last;
    bool RememberLetters = true;
};
