#pragma once
// Turns the keypad's letters and marks into Unicode Greek as scholars' texts store it (NFC):
// a mark clicked after a letter replaces that letter by the one precomposed character for the
// letter with all its marks, where Unicode has one.
//
// A mark clicked where no letter of KIVO's own is known to stand before the cursor (at the
// start, after a space or a punctuation mark, after outside input) waits, as a dead key does,
// and goes onto the next letter typed.
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
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The marks of the keypad and of the extra keys, as bits: one button may apply two of them.
enum TGreekMark : std::uint16_t {
    gmSmoothBreathing = 1 << 0,
    gmRoughBreathing = 1 << 1,
    gmAcute = 1 << 2,
    gmGrave = 1 << 3,
    gmCircumflex = 1 << 4,
    gmIotaSubscript = 1 << 5,
    gmDiaeresis = 1 << 6,
    gmMacron = 1 << 7,
    gmBreve = 1 << 8,
    gmDotBelow = 1 << 9,
};
using TGreekMarks = std::uint16_t;

// The combining characters of Marks, in the order Unicode's decompositions put them
// (diaeresis and breathings, then accents, then the iota subscript), with the length marks
// before all of them, next to the letter, and the dot below last.
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
    // Without RememberLetters (no way to see outside input) marks after a letter are typed as
    // combining characters and Backspace is always plain.
    explicit TGreekComposer(bool RememberLetters = true);

    // A character typed from a key, in NFC. A Greek letter is remembered for the marks that
    // may follow; anything else ends the letter.
    TComposerActions TypeCharacter(char32_t Character);
    // One click of a mark button (one or two marks). Where no letter of KIVO's own is known
    // before the cursor the marks wait for the next letter, and the same click again takes
    // them back.
    TComposerActions ApplyMarks(TGreekMarks Marks);
    // The keypad's Backspace: it takes back the last waiting click, or right after a mark
    // takes that mark off the letter.
    TComposerActions Backspace();
    // Something outside KIVO touched the document: the letter before the cursor is unknown.
    // Waiting marks keep waiting for KIVO's next letter.
    void Forget();

    // The clicks waiting for the next letter, in click order.
    const std::vector<TGreekMarks>& WaitingMarks() const { return Waiting; }
    void CancelWaiting();
    // Called whenever the waiting clicks change.
    std::function<void()> OnWaitingChanged;

    void SetRememberLetters(bool Remember);

private:
    struct TLetter {
        char32_t Base = 0;
        std::vector<TGreekMarks> Clicks; // the marks of each click, in click order
        std::u32string Typed; // what is in the document for it now
    };

    void SetWaiting(std::vector<TGreekMarks> Clicks);

    std::optional<TLetter> Last;
    std::vector<TGreekMarks> Waiting;
    bool RememberLetters = true;
};
