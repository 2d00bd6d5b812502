// The surrounding-text bookkeeping of KIVO's input methods: when may a mark's BackSpace erase the
// code point before the cursor, given reports that lag behind what KIVO committed?
#include "NamedKeys.h"
#include "TypedTail.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

namespace {

struct TCase {
    const char* Name;
    std::function<void(TTypedTail&)> Steps;
    std::u32string Report; // what the program then reports before its cursor
    bool Agrees;
    std::size_t Typed;
};

TEST(TypedTail, ReportsAgreeOnlyWithWhatKivoTypedNowOrAtARecentStep)
{
    const TCase Cases[] = {
        { "a report that shows KIVO's letter", [](TTypedTail& T) { T.Committed(U"α"); }, U"xyzα", true, 1 },
        { "a report of the step before (still on its way)",
            [](TTypedTail& T) { T.Agrees(U"x"); T.Committed(U"α"); T.Committed(U"β"); }, U"xα", true, 2 },
        { "the letter erased by the mark, before the new one arrived",
            [](TTypedTail& T) { T.Agrees(U"x"); T.Committed(U"α"); T.Erased(); T.Committed(U"ά"); }, U"x", true, 1 },
        { "another letter where KIVO's was (typed on the keyboard)",
            [](TTypedTail& T) { T.Agrees(U"x"); T.Committed(U"α"); T.Agrees(U"xα"); }, U"xαα", false, 0 },
        { "the cursor moved into other text", [](TTypedTail& T) { T.Committed(U"α"); }, U"λόγ", false, 0 },
        { "nothing is known before the first report: an empty start vouches for none",
            [](TTypedTail& T) { T.Committed(U"α"); T.Erased(); T.Committed(U"ά"); }, U"x", false, 0 },
    };
    for (const TCase& Case : Cases) {
        TTypedTail Tail;
        Case.Steps(Tail);
        EXPECT_EQ(Tail.Agrees(Case.Report), Case.Agrees) << Case.Name;
        EXPECT_EQ(Tail.Typed(), Case.Typed) << Case.Name;
    }
}

TEST(TypedTail, AWholeReportMustMatchExactlyAndALongOneByItsEnd)
{
    TTypedTail Tail;
    ASSERT_TRUE(Tail.Agrees(U""));
    Tail.Committed(U"α");
    Tail.Erased();
    // The document is empty again: a letter there came from elsewhere.
    EXPECT_FALSE(Tail.Agrees(U"β"));

    const std::u32string Long(TTypedTail::Longest + 10, U'x');
    TTypedTail Paragraph;
    ASSERT_TRUE(Paragraph.Agrees(Long));
    Paragraph.Committed(U"ῇ");
    EXPECT_TRUE(Paragraph.Agrees(Long + U"ῇ"));
    EXPECT_EQ(Paragraph.Typed(), 1u);
    EXPECT_FALSE(Paragraph.Agrees(Long + U"ῇx"));
}

// Every named key reaches a program as the key of its own place: a missing or shared key code
// would type another key (the program reads the code, not the keysym).
TEST(LinuxKeys, EveryNamedKeyHasAKeysymAndAKeyCodeOfItsOwn)
{
    std::set<unsigned> Keycodes;
    for (int Key = 0; Key < nkNamedKeyCount; ++Key) {
        const TLinuxKey Event = LinuxKeyOf(TNamedKey(Key));
        EXPECT_NE(Event.Keysym, 0u) << "named key " << Key;
        EXPECT_TRUE(Keycodes.insert(Event.EvdevCode).second) << "named key " << Key << " shares key code " << Event.EvdevCode;
    }
    // The function keys' codes jump twice on a PC keyboard.
    const std::pair<TNamedKey, unsigned> Codes[] = { { nkF10, 68 }, { nkF11, 87 }, { nkF12, 88 }, { nkF13, 183 }, { nkF24, 194 } };
    for (const auto& [Key, Code] : Codes)
        EXPECT_EQ(LinuxKeyOf(Key).EvdevCode, Code) << "named key " << int(Key);
    EXPECT_EQ(LinuxKeyOf(nkF24).Keysym, 0xffd5u);
}

} // namespace
