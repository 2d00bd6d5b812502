// The free key-string sender: the key actions every kind of code becomes, with the US layout
// unless a case gives a character other modifiers.
#include "SendkeysTestSupport.h"

#include "Sendkeys.h"

namespace {

class SendKeyStringSequence : public TRecordingTest, public testing::WithParamInterface<TSequenceCase> { };

// The list is what the sender runs, action for action; the sender processes no messages (the
// recorder would mark them "|").
TEST_P(SendKeyStringSequence, BecomesExactlyTheseActions)
{
    for (const auto& [Character, Modifiers] : GetParam().Layout)
        Backend->SetModifiers(Character, Modifiers);
    EXPECT_EQ(TextOf(KeyStringActions(GetParam().Keys, SendKeyStringRawKeyBound, *Backend)), GetParam().Expected);
    Backend->ClearCalls();
    TMessageRecorder Recorder(*Backend);
    SendKeyString(GetParam().Keys);
    EXPECT_EQ(Backend->FeltText(), GetParam().Expected);
}

// Below 110 a code is a raw virtual key: the capitals, digits and "a" to "m" included.
INSTANTIATE_TEST_SUITE_P(RawCodes, SendKeyStringSequence,
    testing::Values(TSequenceCase {"Empty", "", ""}, TSequenceCase {"Tab", "\t", "+Tab -Tab"},
        TSequenceCase {"Backspace", "\b", "+BackSpace -BackSpace"}, TSequenceCase {"Enter", "\r", "+Return -Return"},
        TSequenceCase {"Escape", "\x1b", "+Escape -Escape"},
        TSequenceCase {"CapitalAIsTheAKeyWithoutShift", "A", "+a -a"},
        TSequenceCase {"SmallAIsNumpad1", "a", "+Keypad1 -Keypad1"},
        TSequenceCase {"ExclamationIsPageUp", "!", "+PageUp -PageUp"},
        TSequenceCase {"Digits", "09", "+0 -0 +9 -9"},
        TSequenceCase {"Code109IsStillRaw", "m", "+KeypadSubtract -KeypadSubtract"},
        TSequenceCase {"ACodeThatNamesNoKeySendsNothing", Codes({0, 3, 0x3A}), ""}),
    CaseName);

// From 110 to 227 a code is a character of the layout, framed by what it needs.
INSTANTIATE_TEST_SUITE_P(Characters, SendKeyStringSequence,
    testing::Values(TSequenceCase {"Code110IsTheNKey", "n", "+n -n"}, TSequenceCase {"SmallX", "x", "+x -x"},
        TSequenceCase {"TildeGetsShift", "~", "+Shift +~ -~ -Shift"},
        TSequenceCase {"BraceGetsShift", "{", "+Shift +{ -{ -Shift"},
        TSequenceCase {"NoKeyTypesItOnlyTheShiftIsSent", Codes({227}), "+Shift -Shift"},
        TSequenceCase {"AHoleOfTheCodePageIsNoCharacter", Codes({0x81}), "+Shift -Shift"},
        TSequenceCase {"EuroOfCodePage1252", "\x80", "+U+20ac -U+20ac", {{U'\u20AC', 0}}},
        TSequenceCase {"AltGrCharacter", "\xA7", "+AltGr +U+a7 -U+a7 -AltGr", {{U'\u00A7', mfAltGr}}},
        TSequenceCase {"ShiftThenAltGrDownReverseUp", "|", "+Shift +AltGr +| -| -AltGr -Shift", {{U'|', mfShift | mfAltGr}}},
        TSequenceCase {"ControlAndAlt", "}", "+Control +Alt +} -} -Alt -Control", {{U'}', mfControl | mfAlt}}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(FunctionAndNavigationKeys, SendKeyStringSequence,
    testing::Values(TSequenceCase {"F1", Codes({228}), "+F1 -F1"}, TSequenceCase {"F12", Codes({239}), "+F12 -F12"},
        TSequenceCase {"AllTenNavigationKeysInOrder", Codes({240, 241, 242, 243, 244, 245, 246, 247, 248, 249}),
            "+Home -Home +End -End +Up -Up +Down -Down +Left -Left +Right -Right +PageUp -PageUp "
            "+PageDown -PageDown +Insert -Insert +Delete -Delete"}),
    CaseName);

// One flag for all three modifiers: the last modifier code decides whether characters get
// modifiers of their own.
INSTANTIATE_TEST_SUITE_P(Modifiers, SendKeyStringSequence,
    testing::Values(TSequenceCase {"ControlV", Codes({252, 'v', 253}), "+Control +v -v -Control"},
        TSequenceCase {"AltX", Codes({254, 'x', 255}), "+Alt +x -x -Alt"},
        TSequenceCase {"HeldShiftReplacesAltGr", Codes({250, '|', 251}), "+Shift +| -| -Shift", {{U'|', mfAltGr}}},
        TSequenceCase {"ReleasingAnyModifierClearsTheFlag", Codes({250, 252, 253, '~'}),
            "+Shift +Control -Control +Shift +~ -~ -Shift"},
        TSequenceCase {"StringMayEndWithControlHeld", Codes({252, 's'}), "+Control +s -s"},
        TSequenceCase {"NoKeyAndModifierHeldSendsNothingForIt", Codes({250, 227, 251}), "+Shift -Shift"},
        TSequenceCase {"LoneRelease", Codes({251}), "-Shift"}),
    CaseName);

TEST_F(TRecordingTest, EachStringStartsWithTheModifierFlagClear)
{
    SendKeyString(Codes({250}));
    SendKeyString("~");
    EXPECT_EQ(Backend->FeltText(), "+Shift +Shift +~ -~ -Shift");
}

// The layout is asked exactly for the characters, once each, and never for the other codes.
TEST_F(TRecordingTest, SendKeyStringAsksTheLayoutOnlyForCodes110To227)
{
    std::string All;
    for (int Code = 0; Code < 256; ++Code)
        All.push_back(static_cast<char>(Code));
    SendKeyString(All);

    std::vector<char32_t> Asked;
    for (const auto& Call : Backend->Calls())
        if (Call.Kind == bckModifiersFor)
            Asked.push_back(Call.Character);
    std::vector<char32_t> Characters;
    for (int Code = 110; Code <= 227; ++Code)
        if (const char32_t Character = CodePointOfAnsiCharacter(static_cast<unsigned char>(Code)))
            Characters.push_back(Character);
    EXPECT_EQ(Asked, Characters);
}

} // namespace
