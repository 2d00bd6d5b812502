// The send-keys component: the layout for every printable character, message processing
// once per code, modifiers framed as the layout needs, nesting, and the message-processing wait.
#include "SendkeysTestSupport.h"

#include "Sendkey.h"
#include "Sendkeys.h"

#include <QMetaObject>

#include <climits>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

class TSendkeysTest : public TRecordingTest {
protected:
    void SetUp() override
    {
        TRecordingTest::SetUp();
        Recorder.emplace(*Backend);
    }

    // Runs Action the next time the application processes its messages.
    static void Later(std::function<void()> Action)
    {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(Action), Qt::QueuedConnection);
    }

    TSendkeys ks1;
    // Outlives the backend that TearDown removes; nothing runs in between, and its destructor
    // leaves the backend alone.
    std::optional<TMessageRecorder> Recorder;
};

// Expected: "|" where the application processed its messages.
class SendKeysSequence : public TSendkeysTest, public testing::WithParamInterface<TSequenceCase> { };

TEST_P(SendKeysSequence, SendsExactlyTheseActionsAndProcessesMessagesAfterEachCode)
{
    for (const auto& [Character, Modifiers] : GetParam().Layout)
        Backend->SetModifiers(Character, Modifiers);
    ks1.SendKeys(GetParam().Keys);
    EXPECT_EQ(Backend->FeltText(), GetParam().Expected);
}

// Only the control codes are raw; every printable character goes through the layout.
INSTANTIATE_TEST_SUITE_P(CodeClasses, SendKeysSequence,
    testing::Values(TSequenceCase {"Empty", "", ""}, TSequenceCase {"SmallAIsTheAKey", "a", "+a -a |"},
        TSequenceCase {"CapitalAGetsShift", "A", "+Shift +A -A -Shift |"},
        TSequenceCase {"ExclamationGetsShift", "!", "+Shift +! -! -Shift |"},
        TSequenceCase {"Tab", "\t", "+Tab -Tab |"}, TSequenceCase {"Code31NamesNoKey", Codes({31}), "|"},
        TSequenceCase {"Code32IsTheSpaceCharacter", " ", "+U+20 -U+20 |"},
        TSequenceCase {"TwoApostrophes", "''", "+' -' | +' -' |"},
        TSequenceCase {"F12AndEnd", Codes({239, 241}), "+F12 -F12 | +End -End |"},
        TSequenceCase {"NoKeyTypesItOnlyTheShiftIsSent", Codes({201}), "+Shift -Shift |"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(Modifiers, SendKeysSequence,
    testing::Values(TSequenceCase {"HeldShiftAroundExclamation", Codes({250, '!', 251}), "+Shift | +! -! | -Shift |"},
        TSequenceCase {"StringMayEndWithControlHeld", Codes({252, 's'}), "+Control | +s -s |"},
        TSequenceCase {"ReleasingAltClearsTheFlagSetByShift", Codes({250, 254, 255, 'A'}),
            "+Shift | +Alt | -Alt | +Shift +A -A -Shift |"},
        TSequenceCase {"GermanAtIsAltGrQ", "@@", "+AltGr +@ -@ -AltGr | +AltGr +@ -@ -AltGr |", {{U'@', mfAltGr}}},
        TSequenceCase {"HeldModifierSuppressesAltGr", Codes({250, '@', 251}), "+Shift | +@ -@ | -Shift |",
            {{U'@', mfAltGr}}}),
    CaseName);

// A handler that runs inside the outer call's message processing sends its own string whole,
// with its own modifier flag, before the outer call goes on; the outer flag stays set.
TEST_F(TSendkeysTest, NestedSendKeysCompletesInsideTheOuterOne)
{
    Later([this] { ks1.SendKeys("~"); });
    ks1.SendKeys(Codes({250, '~', 251}));
    EXPECT_EQ(Backend->FeltText(), "+Shift | +Shift +~ -~ -Shift | +~ -~ | -Shift |");
}

// The caller's string may change while messages are processed; what was asked is what is sent.
TEST_F(TSendkeysTest, ChangingTheCallersStringInsideTheCallChangesNothingSent)
{
    std::string Keys = "an";
    Later([&Keys] { Keys.assign(4096, 'x'); });
    ks1.SendKeys(Keys);
    EXPECT_EQ(Backend->FeltText(), "+a -a | +n -n |");
}

struct TDelayCase {
    const char* Name;
    std::uint32_t Start;
    std::uint32_t Step; // ms that pass between two readings of the tick count
    int Milliseconds;
    int Passes;
    std::uint32_t LastTick;
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

    std::vector<TBackendCallKind> Pattern;
    for (const auto& Call : Backend->Calls())
        Pattern.push_back(Call.Kind);
    std::vector<TBackendCallKind> Expected {bckTickCount};
    for (int Pass = 0; Pass < Case.Passes; ++Pass) {
        Expected.push_back(bckMessagesProcessed);
        Expected.push_back(bckTickCount);
    }
    ASSERT_EQ(Pattern, Expected);
    EXPECT_EQ(Backend->Calls().back().Result, Case.LastTick);
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

// Without a backend there is no tick count to wait on; the process's own clock ends the wait.
TEST(TSendkeysWithoutBackend, DelayStillEnds)
{
    auto Previous = SetInputBackend(nullptr);
    TSendkeys().Delay(20);
    SetInputBackend(std::move(Previous));
}

} // namespace
