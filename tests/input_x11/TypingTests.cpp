// What arrives in a real X program when keys are sent, on the layouts users have.
#include "InputX11TestSupport.h"

#include "InputBackend.h"
#include "Sendkeys.h"

#include <algorithm>

namespace {

struct TLayoutCase {
    const char* Name;
    const char* Layout;
    int Group;
    bool CapsLock;
    bool NumLock = false;
};

class TLayoutTypingTest : public TInputX11Test, public testing::WithParamInterface<TLayoutCase> {};

TEST_P(TLayoutTypingTest, EveryPrintableAsciiCharacterArrivesExactly)
{
    const TLayoutCase& Case = GetParam();
    ASSERT_TRUE(SetLayout(Case.Layout));
    Server.LockGroup(Case.Group);
    Server.SetCapsLock(Case.CapsLock);
    Server.SetNumLock(Case.NumLock);
    ASSERT_NO_FATAL_FAILURE(OpenTarget(std::string("kivo-ascii-") + Case.Name));

    Sender.SendKeys(PrintableAscii());

    EXPECT_EQ(Target->WaitForText(PrintableAscii().size()), PrintableAscii());
    EXPECT_EQ(Server.ActiveGroup(), Case.Group) << "the group was not restored";
}

INSTANTIATE_TEST_SUITE_P(Layouts, TLayoutTypingTest,
    testing::Values(TLayoutCase {"us", "us", 0, false}, TLayoutCase {"de", "de", 0, false},
        TLayoutCase {"fr", "fr", 0, false}, TLayoutCase {"gr", "gr", 0, false},
        TLayoutCase {"us_gr_greek_active", "us,gr", 1, false}, TLayoutCase {"dvorak", "us:dvorak", 0, false},
        TLayoutCase {"us_caps_lock", "us", 0, true}, TLayoutCase {"de_caps_lock", "de", 0, true},
        TLayoutCase {"fr_caps_and_num_lock", "fr", 0, true, true}),
    [](const testing::TestParamInfo<TLayoutCase>& Info) { return std::string(Info.param.Name); });

TEST_F(TInputX11Test, ALayoutSwitchedWhileRunningIsHonouredAtTheNextKey)
{
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-switch"));
    const std::string Sample = "yz@~;'[Q";
    std::string Expected;
    for (const char* Layout : {"us", "de", "us:dvorak", "fr", "us"}) {
        ASSERT_TRUE(SetLayout(Layout));
        Sender.SendKeys(Sample);
        Expected += Sample;
        // Xlib clients fetch a new keymap only when they next look a key up: a switch made
        // before the terminal has read the last key would change that key in its eyes.
        ASSERT_EQ(Target->WaitForText(Expected.size()), Expected) << Layout;
    }
}

TEST_F(TInputX11Test, CharactersThatNoKeyTypesArriveThroughSpareKeycodes)
{
    ASSERT_TRUE(SetLayout("de"));
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-spare"));
    // On German, ^ and ` exist only as dead keys and É and Ñ on no key; ß and € are on keys.
    Sender.SendKeys("^`\xC9\xDF\xD1\x80\xC9^x");
    const std::string Expected = "^`ÉßÑ€É^x";
    EXPECT_EQ(Target->WaitForText(Expected.size()), Expected);
}

TEST_F(TInputX11Test, MoreSuchCharactersThanSpareKeycodesStillArriveInOrder)
{
    // Codes from 228 on are function, navigation and modifier keys, not characters.
    ASSERT_TRUE(SetLayout("us"));
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-latin1"));
    // 23 capitals, more than the 19 spare keycodes of an evdev keymap, then small letters whose
    // capitals' spares have been taken again meanwhile. Every spare remapping makes every
    // client reload its keymap, so the test stays short of a storm.
    std::string Sent, Expected;
    for (int Code : {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE,
             0xCF, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xE0, 0xE1, 0xE2, 0xE3}) {
        Sent += char(Code);
        Expected += char(0xC0 | (Code >> 6));
        Expected += char(0x80 | (Code & 0x3F));
    }
    Sender.SendKeys(Sent + "ok");
    EXPECT_EQ(Target->WaitForText(Expected.size() + 2), Expected + "ok");
}

TEST_F(TInputX11Test, TabEnterAndBackspaceArriveThroughSendKeyString)
{
    ASSERT_TRUE(SetLayout("us"));
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-controls"));
    SendKeyString("xy\bz\t\r");
    const std::string Received = Target->WaitForText(6);
    ASSERT_EQ(Received.size(), 6u);
    EXPECT_EQ(Received.substr(0, 2), "xy");
    // The terminal makes Backspace DEL or BS, by its settings; either is the Backspace key.
    EXPECT_TRUE(Received[2] == '\x7f' || Received[2] == '\b') << int(Received[2]);
    EXPECT_EQ(Received.substr(3), "z\t\r");
}

TEST_F(TInputX11Test, ControlChordsTypeControlCharactersOnEveryLayout)
{
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-chords"));
    std::string Expected;
    for (const char* Layout : {"us", "fr", "us:dvorak", "de"}) {
        ASSERT_TRUE(SetLayout(Layout));
        SendKeyString("\xFC" "U" "\xFD"); // the virtual key U: the key that types "u" here
        Sender.SendKeys("\xFC" "c" "\xFD");
        Expected += "\x15\x03";
        ASSERT_EQ(Target->WaitForText(Expected.size()), Expected) << Layout;
    }
}

TEST_F(TInputX11Test, AModifierPressedByOneCallStaysDownForTheNext)
{
    ASSERT_TRUE(SetLayout("us"));
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-held"));
    Sender.SendKeys("\xFA");
    EXPECT_EQ(Server.ModifiersHeld(), "Shift");
    Sender.SendKeys("x1");
    Sender.SendKeys("\xFB" "x");
    EXPECT_EQ(Target->WaitForText(3), "X!x");
}

} // namespace

namespace {

// Characters typed one by one through the backend itself: Greek and Cyrillic on Latin layouts
// go onto spare keys, Latin on the Greek layout too; Shift and Caps Lock are taken care of.
struct TUnicodeCase {
    const char* Name;
    const char* Layout;
    bool CapsLock;
};

class TUnicodeTypingTest : public TInputX11Test, public testing::WithParamInterface<TUnicodeCase> {};

TEST_P(TUnicodeTypingTest, AnyCharacterArrivesAndBackSpaceRemovesOne)
{
    ASSERT_TRUE(SetLayout(GetParam().Layout));
    Server.SetCapsLock(GetParam().CapsLock);
    ASSERT_NO_FATAL_FAILURE(OpenTarget(std::string("kivo-unicode-") + GetParam().Name));
    const std::u32string Text = U"\u1F00\u03B1\u0391\u03C9\u03A9\u03C2aA\u0436\u0416\u00E6\u20AC1";
    for (const char32_t Character : Text)
        EXPECT_TRUE(CurrentInputBackend()->TypeCharacter(Character));
    CurrentInputBackend()->TapKey(nkBackSpace);
    // UTF-8 of the text, then the terminal's byte for BackSpace (DEL on a raw xterm).
    const std::string Expected = "\xE1\xBC\x80\xCE\xB1\xCE\x91\xCF\x89\xCE\xA9\xCF\x82" "aA\xD0\xB6\xD0\x96\xC3\xA6\xE2\x82\xAC" "1\x7F";
    EXPECT_EQ(Target->WaitForText(Expected.size()), Expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TUnicodeTypingTest,
    testing::Values(TUnicodeCase {"us", "us", false}, TUnicodeCase {"gr", "gr", false}, TUnicodeCase {"de_caps", "de", true},
        TUnicodeCase {"gr_caps", "gr", true}),
    [](const testing::TestParamInfo<TUnicodeCase>& Info) { return std::string(Info.param.Name); });

// With the user's Caps Lock on, small letters arrive small and capitals capital, also where the
// layout's own key for the letter does not take Lock into account (Greek letters on
// gr(polytonic), the accented letters of fr), which then capitalizes whatever it types.
class TCapsLockTypingTest : public TInputX11Test, public testing::WithParamInterface<const char*> {};

TEST_P(TCapsLockTypingTest, EveryKeyTypesWhatItShows)
{
    ASSERT_TRUE(SetLayout(GetParam()));
    Server.SetCapsLock(true);
    ASSERT_NO_FATAL_FAILURE(OpenTarget(std::string("kivo-caps-") + GetParam()));
    const std::u32string Text = U"\u03B2\u03B6\u03BA\u03BE\u03C0\u03C1\u03C3\u03C5\u03C6\u03C8\u03B1\u03B5\u03B7\u03B9\u03BF\u03C9\u03C2"
                                U"\u0392\u03A9\u00E9\u00E8\u00E0\u00E7\u00F9\u00C9aA";
    for (const char32_t Character : Text)
        EXPECT_TRUE(CurrentInputBackend()->TypeCharacter(Character));
    const std::string Expected = "\xCE\xB2\xCE\xB6\xCE\xBA\xCE\xBE\xCF\x80\xCF\x81\xCF\x83\xCF\x85\xCF\x86\xCF\x88"
                                 "\xCE\xB1\xCE\xB5\xCE\xB7\xCE\xB9\xCE\xBF\xCF\x89\xCF\x82\xCE\x92\xCE\xA9"
                                 "\xC3\xA9\xC3\xA8\xC3\xA0\xC3\xA7\xC3\xB9\xC3\x89" "aA";
    EXPECT_EQ(Target->WaitForText(Expected.size()), Expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TCapsLockTypingTest, testing::Values("us", "fr", "gr:polytonic", "gr"),
    [](const testing::TestParamInfo<const char*>& Info) {
        std::string Name = Info.param;
        std::replace(Name.begin(), Name.end(), ':', '_');
        return Name;
    });

} // namespace
