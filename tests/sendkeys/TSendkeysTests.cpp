// The send-keys component: the layout for every printable character, message processing
// once per code, modifiers framed as the layout needs, nesting, and the message-processing wait.
#include "SendkeysTestSupport.h"

#include "Sendkey.h"
#include "Sendkeys.h"
#include "TApplication.h"

#include <QMetaObject>

#include <climits>
#include <map>

namespace {

class TSendkeysTest : public TRecordingTest {
protected:
    void SetUp() override
    {
        TRecordingTest::SetUp();
        Recorder = std::make_unique<TMessageRecorder>(*Backend);
    }
    void TearDown() override
    {
        Recorder.reset();
        TRecordingTest::TearDown();
    }

    // Runs Action the next time the application processes its messages.
    static void Later(std::function<void()> Action)
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(Action), Qt::QueuedConnection);
    }

    TSendkeys ks1;
    std::unique_ptr<TMessageRecorder> Recorder;
};

// The recorder is the measuring instrument of the tests below: one mark per pass, no more.
TEST_F(TSendkeysTest, RecorderMarksEachPassOfMessageProcessingOnce)
{
    Application->ProcessMessages();
    Application->ProcessMessages();
    Application->ProcessMessages();
    EXPECT_EQ(Backend->CountOf(ickMessagesProcessed), 3u);
}

TEST_F(TSendkeysTest, SendKeyStringProcessesNoMessages)
{
    SendKeyString(Codes({'~', '\t', 'n', 250, 'x', 251, 240, 228}));
    EXPECT_EQ(Backend->CountOf(ickMessagesProcessed), 0u);
    EXPECT_EQ(Backend->CountOf(ickKeybdEvent), 16u);
}

struct TComponentCase {
    const char* Name;
    std::string Keys;
    TCalls Expected;
    std::map<BYTE, SHORT> Layout {}; // answers that differ from the US layout
};

std::string CaseName(const testing::TestParamInfo<TComponentCase>& Info) { return Info.param.Name; }
void PrintTo(const TComponentCase& Case, std::ostream* Stream) { *Stream << Case.Name; }

class SendKeysSequence : public TSendkeysTest, public testing::WithParamInterface<TComponentCase> { };

TEST_P(SendKeysSequence, SendsExactlyTheseEventsAndProcessesMessagesAfterEachCode)
{
    for (const auto& [Character, Answer] : GetParam().Layout)
        Backend->SetVkKeyScanAnswer(Character, Answer);
    ks1.SendKeys(GetParam().Keys);
    EXPECT_EQ(Felt(), *GetParam().Expected);
}

const TCalls M = Messages();

// Only the control codes are raw; every printable character goes through the layout.
INSTANTIATE_TEST_SUITE_P(CodeClasses, SendKeysSequence,
    testing::Values(
        TComponentCase {"Empty", "", {}},
        TComponentCase {"SmallAIsTheAKey", "a", {Press(AKey), M}},
        TComponentCase {"CapitalAGetsShift", "A", {Framed({ShiftKey}, AKey), M}},
        TComponentCase {"ExclamationIsShiftAndDigit1", "!", {Framed({ShiftKey}, Digit1Key), M}},
        TComponentCase {"Tab", "\t", {Press(TabKey), M}},
        TComponentCase {"Code31IsRaw", Codes({31}), {Press({0x1F, 0}), M}},
        TComponentCase {"Code32IsTheSpaceCharacter", " ", {Press(SpaceKey), M}},
        TComponentCase {"TwoApostrophes", "''", {Press(ApostropheKey), M, Press(ApostropheKey), M}},
        TComponentCase {"F12AndEnd", Codes({239, 241}), {Press(F12Key), M, Press({0x23, 0x4F}), M}},
        TComponentCase {"NoKeyIsKey255FramedByShift", Codes({201}), {Framed({ShiftKey}, NoKey), M}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Modifiers, SendKeysSequence,
    testing::Values(
        TComponentCase {"HeldShiftAroundExclamation", Codes({250, '!', 251}),
            {Down(ShiftKey), M, Press(Digit1Key), M, Up(ShiftKey), M}},
        TComponentCase {"StringMayEndWithControlHeld", Codes({252, 's'}), {Down(ControlKey), M, Press(SKey), M}},
        TComponentCase {"ReleasingAltClearsTheFlagSetByShift", Codes({250, 254, 255, 'A'}),
            {Down(ShiftKey), M, Down(AltKey), M, Up(AltKey), M, Framed({ShiftKey}, AKey), M}}),
    CaseName);

// The modifiers that a layout entry names (bit 0 Shift, bit 1 Control, bit 2 Alt) frame the
// key: Control and Alt together are AltGr, as on German and French keyboards.
INSTANTIATE_TEST_SUITE_P(LayoutModifiers, SendKeysSequence,
    testing::Values(
        TComponentCase {"GermanAtIsAltGrQ", "@", {Framed({AltGrKey}, QKey), M}, {{'@', 0x651}}},
        TComponentCase {"ShiftAndAltGrPressedInThatOrder", "|", {Framed({ShiftKey, AltGrKey}, BackslashKey), M},
            {{'|', 0x7DC}}},
        TComponentCase {"ControlAlone", "^", {Framed({ControlKey}, Digit6Key), M}, {{'^', 0x236}}},
        TComponentCase {"AltAlone", "%", {Framed({AltKey}, Digit5Key), M}, {{'%', 0x435}}},
        TComponentCase {"ShiftAndControl", "_", {Framed({ShiftKey, ControlKey}, MinusKey), M}, {{'_', 0x3BD}}},
        TComponentCase {"ShiftAndAlt", "k", {Framed({ShiftKey, AltKey}, KKey), M}, {{'k', 0x54B}}},
        TComponentCase {"UsDeleteCharacterIsControlBackspace", Codes({127}), {Framed({ControlKey}, BackspaceKey), M}},
        TComponentCase {"OtherShiftStatesGetShift", "k", {Framed({ShiftKey}, KKey), M}, {{'k', 0x84B}}},
        TComponentCase {"HeldModifierSuppressesAltGr", Codes({250, '@', 251}),
            {Down(ShiftKey), M, Press(QKey), M, Up(ShiftKey), M}, {{'@', 0x651}}},
        TComponentCase {"AltGrCharactersInARow", "@@", {Framed({AltGrKey}, QKey), M, Framed({AltGrKey}, QKey), M},
            {{'@', 0x651}}}),
    CaseName);

TEST_F(TSendkeysTest, FreeSenderFramesAltGrCharactersToo)
{
    Backend->SetVkKeyScanAnswer('~', 0x6BB);
    SendKeyString("~");
    EXPECT_EQ(Felt(), *Framed({AltGrKey}, {0xBB, 0x0D}));
}

TEST_F(TSendkeysTest, ComponentAsksTheLayoutForEveryCodeFrom32To227)
{
    std::string All;
    for (int Code = 0; Code < 250; ++Code)
        All.push_back(static_cast<char>(Code));
    ks1.SendKeys(All);

    std::vector<int> Asked;
    for (const auto& Call : Backend->Calls())
        if (Call.Kind == ickVkKeyScan)
            Asked.push_back(Call.Character);
    std::vector<int> Characters;
    for (int Code = 32; Code <= 227; ++Code)
        Characters.push_back(Code);
    EXPECT_EQ(Asked, Characters);
    EXPECT_EQ(Backend->CountOf(ickMessagesProcessed), 250u);
}

// A handler that runs inside the outer call's message processing sends its own string whole,
// with its own modifier flag, before the outer call goes on; the outer flag stays set.
TEST_F(TSendkeysTest, NestedSendKeysCompletesInsideTheOuterOne)
{
    Later([this] { ks1.SendKeys("~"); });
    ks1.SendKeys(Codes({250, '~', 251}));

    EXPECT_EQ(Felt(), *TCalls({Down(ShiftKey), M, Framed({ShiftKey}, GraveKey), M, Press(GraveKey), M, Up(ShiftKey), M}));
}

// The caller's string may change while messages are processed; what was asked is what is sent.
TEST_F(TSendkeysTest, ChangingTheCallersStringInsideTheCallChangesNothingSent)
{
    std::string Keys = "an";
    Later([&Keys] { Keys.assign(4096, 'x'); });
    ks1.SendKeys(Keys);
    EXPECT_EQ(Felt(), *TCalls({Press(AKey), M, Press(NKey), M}));
}

struct TDelayCase {
    const char* Name;
    DWORD Start;
    DWORD Step; // ms that pass between two readings of the tick count
    int Milliseconds;
    int Passes;
    DWORD LastTick;
};

void PrintTo(const TDelayCase& Case, std::ostream* Stream) { *Stream << Case.Name; }

class DelayWait : public TSendkeysTest, public testing::WithParamInterface<TDelayCase> { };

// Every pass processes messages and then reads the clock; the first reading is the start.
TEST_P(DelayWait, ProcessesMessagesUntilTheTimeHasPassed)
{
    const auto& Case = GetParam();
    Backend->SetTickCount(Case.Start);
    Backend->SetTickStep(Case.Step);
    ks1.Delay(Case.Milliseconds);

    std::vector<TInputCall> Pattern;
    std::vector<DWORD> Ticks;
    for (const auto& Call : Backend->Calls()) {
        Pattern.push_back(Call.Kind == ickGetTickCount ? TInputCall {ickGetTickCount} : Call);
        if (Call.Kind == ickGetTickCount)
            Ticks.push_back(Call.Result);
    }
    std::vector<TInputCall> Expected {TInputCall {ickGetTickCount}};
    for (int Pass = 0; Pass < Case.Passes; ++Pass) {
        Expected.push_back(MessagesProcessedCall());
        Expected.push_back(TInputCall {ickGetTickCount});
    }
    EXPECT_EQ(Pattern, Expected);
    ASSERT_FALSE(Ticks.empty());
    EXPECT_EQ(Ticks.back(), Case.LastTick);
}

INSTANTIATE_TEST_SUITE_P(Delay, DelayWait,
    testing::Values(
        TDelayCase {"ZeroProcessesOnce", 5000, 0, 0, 1, 5000},
        TDelayCase {"NegativeProcessesOnce", 5000, 0, -5, 1, 5000},
        TDelayCase {"MostNegativeProcessesOnce", 5000, 0, INT_MIN, 1, 5000},
        TDelayCase {"OneMillisecond", 0, 1, 1, 1, 1},
        TDelayCase {"QuarterSeconds", 0, 250, 1000, 4, 1000},
        TDelayCase {"StopsAtTheFirstReadingPastTheTime", 0, 300, 1000, 4, 1200},
        TDelayCase {"AcrossTheWrapLastsTheFullTime", 4294967000u, 100, 1000, 10, 704},
        TDelayCase {"AcrossTheWrapInOddSteps", 4294967000u, 7, 1000, 143, 705},
        TDelayCase {"LongestWait", 0, 1u << 30, INT_MAX, 2, 1u << 31}),
    [](const testing::TestParamInfo<TDelayCase>& Info) { return std::string(Info.param.Name); });

TEST_F(TSendkeysTest, DelaySendsNoKeys)
{
    Backend->SetTickStep(10);
    ks1.Delay(100);
    EXPECT_EQ(Backend->CountOf(ickKeybdEvent), 0u);
}

} // namespace
