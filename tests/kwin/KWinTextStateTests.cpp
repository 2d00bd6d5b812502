// What KIVO as KWin's input method knows of the program's text: the surrounding text comes as
// UTF-8 with a byte offset, the deletion that replaces KIVO's letter is counted in bytes.
#include "KWinTextState.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(KWinTextState, TextBeforeAByteCursor)
{
    struct TCase {
        const char* Name;
        std::string Utf8;
        std::size_t Bytes;
        std::u32string Expected;
    } const Cases[] = {
        { "Greek letters of two and three bytes", "λόγος ἄ", 14, U"λόγος ἄ" },
        { "a cursor inside the text", "ἄλφα", 5, U"ἄλ" },
        { "a cursor inside a code point counts up to its start", "ἄλφα", 4, U"ἄ" },
        { "a cursor past the end", "αβ", 99, U"αβ" },
        { "malformed bytes count one each", "a\xFF\xC0\xAF" "b", 5, U"a\uFFFD\uFFFD\uFFFDb" },
        { "a surrogate encoded is no code point", "\xED\xA0\x80", 3, U"\uFFFD\uFFFD\uFFFD" },
        { "four bytes", "\xF0\x9D\x90\x80x", 5, U"\U0001D400x" },
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(Utf8Before(Case.Utf8, Case.Bytes), Case.Expected) << Case.Name;
}

TEST(KWinTextState, BackSpaceDeletesExactlyKivosLetterWhereTheTextShowsIt)
{
    struct TCase {
        const char* Name;
        void (*Steps)(TKWinTextState&);
        std::size_t Bytes;
    } const Cases[] = {
        { "a three-byte letter KIVO typed", [](TKWinTextState& S) { S.Surrounding("x", 1); S.Committed(U"ἄ"); }, 3 },
        { "the cursor moved away from KIVO's letter",
            [](TKWinTextState& S) { S.Surrounding("x", 1); S.Committed(U"α"); S.Surrounding("xα", 3); S.Surrounding("xα", 1); }, 0 },
        { "a new context knows nothing", [](TKWinTextState& S) { S.Surrounding("x", 1); S.Committed(U"α"); S.Activated(); S.Committed(U"β"); }, 0 },
        { "after KIVO's letter is erased, the one before it", [](TKWinTextState& S) { S.Surrounding("", 0); S.Committed(U"ab"); S.Erased(); }, 1 },
    };
    for (const TCase& Case : Cases) {
        TKWinTextState State;
        Case.Steps(State);
        EXPECT_EQ(State.ErasableBytes(), Case.Bytes) << Case.Name;
    }
}

TEST(KWinTextState, ANewContextStartsWithoutASerial)
{
    TKWinTextState State;
    State.CommitState(9);
    State.Activated();
    EXPECT_EQ(State.Serial(), 0u);
}

} // namespace
