// What arrives in a real X program when keys are sent, on the layouts users have.
#include "InputX11TestSupport.h"

#include "InputBackend.h"
#include "Sendkeys.h"

#include <QString>

namespace {

// Every printable character of ASCII, space to tilde.
const std::string PrintableAscii = R"( !"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ)"
                                   R"([\]^_`abcdefghijklmnopqrstuvwxyz{|}~)";

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

    Sender.SendKeys(PrintableAscii);

    EXPECT_EQ(Target->WaitForText(PrintableAscii.size()), PrintableAscii);
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
    const std::string Sent = "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4"
                             "\xD5\xD6\xE0\xE1\xE2\xE3ok";
    const std::string Expected = "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖàáâãok";
    Sender.SendKeys(Sent);
    EXPECT_EQ(Target->WaitForText(Expected.size()), Expected);
}

TEST_F(TInputX11Test, TabEnterAndBackspaceArriveThroughSendKeyString)
{
    ASSERT_TRUE(SetLayout("us"));
    ASSERT_NO_FATAL_FAILURE(OpenTarget("kivo-controls"));
    SendKeyString("xy\bz\t\r");
    // The raw terminal makes the Backspace key DEL.
    EXPECT_EQ(Target->WaitForText(6), "xy\x7Fz\t\r");
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

// Characters typed one by one through the backend itself, then BackSpace: Greek and Cyrillic
// on Latin layouts go onto spare keys, Latin on the Greek layout too; Shift and Caps Lock are
// taken care of. With Caps Lock on, small letters arrive small and capitals capital, also where
// the layout's own key for the letter does not take Lock into account (Greek letters on
// gr(polytonic), the accented letters of fr), which then capitalizes whatever it types.
struct TUnicodeCase {
    const char* Name;
    const char* Layout;
    bool CapsLock;
    std::u32string Text;
};

const std::u32string Mixed = U"\u1F00\u03B1\u0391\u03C9\u03A9\u03C2aA\u0436\u0416\u00E6\u20AC1";
const std::u32string UnderCapsLock = U"\u03B2\u03B6\u03BA\u03BE\u03C0\u03C1\u03C3\u03C5\u03C6\u03C8\u03B1\u03B5\u03B7"
                                     U"\u03B9\u03BF\u03C9\u03C2\u0392\u03A9\u00E9\u00E8\u00E0\u00E7\u00F9\u00C9aA";

class TUnicodeTypingTest : public TInputX11Test, public testing::WithParamInterface<TUnicodeCase> {};

TEST_P(TUnicodeTypingTest, AnyCharacterArrivesAndBackSpaceRemovesOne)
{
    ASSERT_TRUE(SetLayout(GetParam().Layout));
    Server.SetCapsLock(GetParam().CapsLock);
    ASSERT_NO_FATAL_FAILURE(OpenTarget(std::string("kivo-unicode-") + GetParam().Name));
    for (const char32_t Character : GetParam().Text)
        EXPECT_TRUE(CurrentInputBackend()->TypeCharacter(Character));
    CurrentInputBackend()->TapKey(nkBackSpace);
    // UTF-8 of the text, then the terminal's byte for BackSpace (DEL on a raw xterm).
    const std::string Expected = QString::fromStdU32String(GetParam().Text).toStdString() + "\x7F";
    EXPECT_EQ(Target->WaitForText(Expected.size()), Expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TUnicodeTypingTest,
    testing::Values(TUnicodeCase {"us", "us", false, Mixed}, TUnicodeCase {"gr", "gr", false, Mixed},
        TUnicodeCase {"de_caps", "de", true, Mixed}, TUnicodeCase {"gr_caps", "gr", true, Mixed + UnderCapsLock},
        TUnicodeCase {"us_caps", "us", true, UnderCapsLock}, TUnicodeCase {"fr_caps", "fr", true, UnderCapsLock},
        TUnicodeCase {"gr_polytonic_caps", "gr:polytonic", true, UnderCapsLock}),
    [](const testing::TestParamInfo<TUnicodeCase>& Info) { return std::string(Info.param.Name); });

} // namespace
