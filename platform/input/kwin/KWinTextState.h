#pragma once
// What KIVO knows of the text input KWin connects it to: the serial of the program's latest
// state (every request names it, so that the program can drop what was meant for an older
// state), whether the program shows its text around the cursor, and what KIVO typed right
// before the cursor, checked against that text. Plain logic: the backend feeds it the
// context's events.
#include "TypedTail.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TKWinTextState {
public:
    // A new context: nothing of the one before holds.
    void Activated();
    void CommitState(std::uint32_t Serial) { LastSerial = Serial; }
    std::uint32_t Serial() const { return LastSerial; }

    // The program's surrounding text (UTF-8) with its cursor as a byte offset. False when it
    // contradicts what KIVO expects before the cursor; what KIVO typed is then forgotten.
    bool Surrounding(std::string_view Utf8, std::uint32_t CursorBytes);
    bool OffersSurrounding() const { return SurroundingSeen; }

    void Committed(std::u32string_view Text) { Tail.Committed(Text); }
    // The UTF-8 length of the code point KIVO typed right before the cursor, when the program's
    // text says it is there: a BackSpace may then delete exactly it. 0: the BackSpace key goes.
    std::size_t ErasableBytes() const;
    void Erased() { Tail.Erased(); }
    void Forget() { Tail.Forget(); }

private:
    std::uint32_t LastSerial = 0;
    bool SurroundingSeen = false;
    TTypedTail Tail;
};

// Text before a byte offset of UTF-8, as code points. An offset inside a code point counts
// up to that code point's start, one past the end up to the end; malformed bytes count as
// U+FFFD each.
std::u32string Utf8Before(std::string_view Utf8, std::size_t Bytes);
// The UTF-8 length of Character (U+FFFD's for what is no code point).
std::size_t Utf8Length(char32_t Character);
