// The free key-string sender: which events every kind of code becomes, with the US layout.
#include "SendkeysTestSupport.h"

#include "Sendkeys.h"

namespace {

struct TSequenceCase {
    const char* Name;
    std::string Keys;
    TCalls Expected;
};

std::string CaseName(const testing::TestParamInfo<TSequenceCase>& Info) { return Info.param.Name; }
void PrintTo(const TSequenceCase& Case, std::ostream* Stream) { *Stream << Case.Name; }

class SendKeyStringSequence : public TRecordingTest, public testing::WithParamInterface<TSequenceCase> { };

TEST_P(SendKeyStringSequence, SendsExactlyTheseEvents)
{
    SendKeyString(GetParam().Keys);
    EXPECT_EQ(Felt(), *GetParam().Expected);
}

// Below 110 a code is a raw virtual key: the capitals, digits and "a" to "m" included.
INSTANTIATE_TEST_SUITE_P(RawCodes, SendKeyStringSequence,
    testing::Values(
        TSequenceCase {"Empty", "", {}},
        TSequenceCase {"Tab", "\t", Press(TabKey)},
        TSequenceCase {"Backspace", "\b", Press(BackspaceKey)},
        TSequenceCase {"Enter", "\r", Press(EnterKey)},
        TSequenceCase {"Escape", "\x1b", Press(EscapeKey)},
        TSequenceCase {"CapitalAIsTheAKeyWithoutShift", "A", Press(AKey)},
        TSequenceCase {"SmallAIsNumpad1", "a", Press(Numpad1Key)},
        TSequenceCase {"ExclamationIsPageUp", "!", Press({0x21, 0x49})},
        TSequenceCase {"Digits", "09", {Press(Digit0Key), Press(Digit9Key)}},
        TSequenceCase {"Code109IsStillRaw", "m", Press(NumpadSubtractKey)},
        TSequenceCase {"Code0IsRaw", Codes({0}), Press({0, 0})}),
    CaseName);

// From 110 to 227 a code is a character of the layout.
INSTANTIATE_TEST_SUITE_P(Characters, SendKeyStringSequence,
    testing::Values(
        TSequenceCase {"Code110IsTheNKey", "n", Press(NKey)},
        TSequenceCase {"SmallX", "x", Press(XKey)},
        TSequenceCase {"TildeGetsShiftWithScanCode42", "~", Framed({ShiftKey}, GraveKey)},
        TSequenceCase {"BraceGetsShift", "{", Framed({ShiftKey}, BracketLeftKey)},
        TSequenceCase {"DeleteCharacterIsControlBackspace", Codes({127}), Framed({ControlKey}, BackspaceKey)},
        TSequenceCase {"NoKeyIsKey255FramedByShift", Codes({227}), Framed({ShiftKey}, NoKey)}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(FunctionAndNavigationKeys, SendKeyStringSequence,
    testing::Values(
        TSequenceCase {"F1", Codes({228}), Press(F1Key)},
        TSequenceCase {"F12", Codes({239}), Press(F12Key)},
        TSequenceCase {"AllTenNavigationKeysInOrder", Codes({240, 241, 242, 243, 244, 245, 246, 247, 248, 249}),
            {Press({0x24, 0x47}), Press({0x23, 0x4F}), Press({0x26, 0x48}), Press({0x28, 0x50}), Press({0x25, 0x4B}),
                Press({0x27, 0x4D}), Press({0x21, 0x49}), Press({0x22, 0x51}), Press({0x2D, 0x52}),
                Press({0x2E, 0x53})}}),
    CaseName);

// One flag for all three modifiers: the last modifier code decides whether characters get
// modifiers of their own.
INSTANTIATE_TEST_SUITE_P(Modifiers, SendKeyStringSequence,
    testing::Values(
        TSequenceCase {"ControlV", Codes({252, 'v', 253}), {Down(ControlKey), Press(VKey), Up(ControlKey)}},
        TSequenceCase {"AltX", Codes({254, 'x', 255}), {Down(AltKey), Press(XKey), Up(AltKey)}},
        TSequenceCase {"HeldShiftReplacesTheAutomaticOne", Codes({250, '~', 251}),
            {Down(ShiftKey), Press(GraveKey), Up(ShiftKey)}},
        TSequenceCase {"ReleasingAnyModifierClearsTheFlag", Codes({250, 252, 253, '~'}),
            {Down(ShiftKey), Down(ControlKey), Up(ControlKey), Framed({ShiftKey}, GraveKey)}},
        TSequenceCase {"StringMayEndWithControlHeld", Codes({252, 's'}), {Down(ControlKey), Press(SKey)}},
        TSequenceCase {"LoneRelease", Codes({251}), Up(ShiftKey)}),
    CaseName);

// The automatic Shift is always the left Shift key's scan code 42; Shift pressed by code 250
// carries what the keyboard reports for virtual key 16, as every other key does.
TEST_F(TRecordingTest, AutomaticShiftCarriesScanCode42WhateverTheKeyboardSays)
{
    Backend->SetScanCodeAnswer(0x10, 0x36);
    Backend->SetScanCodeAnswer(0xC0, 0x77);
    SendKeyString(Codes({'~', 227, 250, '~', 251}));
    const TKey ReportedShift {0x10, 0x36};
    const TKey ReportedGrave {0xC0, 0x77};
    EXPECT_EQ(Felt(), *TCalls({Framed({ShiftKey}, ReportedGrave), Framed({ShiftKey}, NoKey), Down(ReportedShift), Press(ReportedGrave), Up(ReportedShift)}));
}

TEST_F(TRecordingTest, EachStringStartsWithTheModifierFlagClear)
{
    SendKeyString(Codes({250}));
    SendKeyString("~");
    EXPECT_EQ(Felt(), *TCalls({Down(ShiftKey), Framed({ShiftKey}, GraveKey)}));
}

// The layout is asked exactly for the character codes, once each, and never for the others.
TEST_F(TRecordingTest, SendKeyStringAsksTheLayoutOnlyForCodes110To227)
{
    std::string All;
    for (int Code = 0; Code < 250; ++Code)
        All.push_back(static_cast<char>(Code));
    SendKeyString(All);

    std::vector<int> Asked;
    for (const auto& Call : Backend->Calls())
        if (Call.Kind == ickVkKeyScan)
            Asked.push_back(Call.Character);
    std::vector<int> Characters;
    for (int Code = 110; Code <= 227; ++Code)
        Characters.push_back(Code);
    EXPECT_EQ(Asked, Characters);
}

// Whatever the code, its key goes down then up with the scan code of that key, and a frame
// around it is released in the reverse order of its press.
TEST_F(TRecordingTest, EveryNonModifierCodeIsOnePressThenOneReleaseWithTheLayoutsScanCode)
{
    TRecordingWindowsCalls Layout;
    for (int Code = 0; Code < 250; ++Code) {
        Backend->ClearCalls();
        SendKeyString(Codes({Code}));
        const auto Events = Felt();
        ASSERT_TRUE(Events.size() == 2 || Events.size() == 4) << "code " << Code;
        const std::size_t Key = Events.size() / 2 - 1;
        EXPECT_EQ(Events[Key].Flags, 0u) << "code " << Code;
        EXPECT_EQ(Events[Key + 1].Flags, KEYEVENTF_KEYUP) << "code " << Code;
        EXPECT_EQ(Events[Key].VirtualKey, Events[Key + 1].VirtualKey) << "code " << Code;
        EXPECT_EQ(Events[Key].ScanCode, Layout.MapVirtualKey(Events[Key].VirtualKey, 0)) << "code " << Code;
        EXPECT_EQ(Events[Key + 1].ScanCode, Events[Key].ScanCode) << "code " << Code;
        if (Events.size() == 4) {
            EXPECT_EQ(Events.front().Flags, 0u) << "code " << Code;
            EXPECT_EQ(Events.back().Flags, KEYEVENTF_KEYUP) << "code " << Code;
            EXPECT_EQ(Events.front().VirtualKey, Events.back().VirtualKey) << "code " << Code;
        }
    }
}

} // namespace
