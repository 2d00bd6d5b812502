// Real clicks on the program at a hand's pace while its keymap changes under it: right after
// `setxkbmap gr` (every Latin letter goes onto a spare key), right after a switch of layout, and
// with two programs clicked alternately. Letters, Shift and Caps are interleaved; what arrives
// in a real xterm must be exactly what the clicks typed, in order and case. One XTest client
// (ClickDriver) makes every click, each a fixed time after the previous click's character
// arrived in the target: pacing on the previous click instead would leave the program time to
// catch up and hide what piles up in it.
#include "EndToEndSupport.h"
#include "KeyCaptions.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// A click of one program's keypad: a letter key (Row, Column) or Shift or Caps.
enum TClickKind { ckLetter, ckShift, ckCaps };
struct TProgramClick {
    int Program = 0;
    TClickKind Kind = ckLetter;
    int Row = 0;
    int Column = 0;
};

// The 26 letter keys, more than the spare keycodes of a keymap hold: on a layout without Latin
// letters the spares must be handed from letter to letter.
const std::vector<std::pair<int, int>> LetterKeys = [] {
    std::vector<std::pair<int, int>> Keys;
    for (const auto& [Row, Columns] : {std::pair {3, 10}, std::pair {4, 9}, std::pair {5, 7}})
        for (int Column = 1; Column <= Columns; ++Column)
            Keys.emplace_back(Row, Column);
    return Keys;
}();

// One round of clicks for a fresh keymap: every letter key of each program once, in a random
// order, so that each letter is the first on its spare (the programs' turns alternate); after
// a letter, often Shift, sometimes Caps, at once: the clicks that a spare's first use delays.
std::vector<TProgramClick> FreshLetterClicks(int Programs, unsigned Seed)
{
    std::mt19937 Random(Seed);
    std::uniform_int_distribution<int> Roll(0, 99);
    // Each program has letters of its own, so that what each typed can be told apart.
    const std::size_t Share = LetterKeys.size() / std::size_t(Programs);
    std::vector<std::vector<std::pair<int, int>>> Letters;
    for (std::size_t Program = 0; Program < std::size_t(Programs); ++Program) {
        Letters.emplace_back(LetterKeys.begin() + std::ptrdiff_t(Program * Share), LetterKeys.begin() + std::ptrdiff_t((Program + 1) * Share));
        std::shuffle(Letters.back().begin(), Letters.back().end(), Random);
    }
    std::vector<TProgramClick> Clicks;
    for (std::size_t Index = 0; Index < Share; ++Index) {
        for (int Program = 0; Program < Programs; ++Program) {
            const auto [Row, Column] = Letters[std::size_t(Program)][Index];
            Clicks.push_back({Program, ckLetter, Row, Column});
            if (const int Next = Roll(Random); Next < 55)
                Clicks.push_back({Program, Next < 40 ? ckShift : ckCaps});
        }
    }
    return Clicks;
}

class KivoClicks : public TKivoTest {
protected:
    static void SetUpTestSuite()
    {
        StartTarget(QStringLiteral("raw -echo"));
        StartProgram();
        ASSERT_EQ(Programs.size(), 1u);
    }

    static void TearDownTestSuite()
    {
        for (TProgram& Program : Programs)
            EXPECT_TRUE(Stop(Program.Process));
        Programs.clear();
        TKivoTest::TearDownTestSuite();
    }

    struct TProgram {
        std::unique_ptr<QProcess> Process;
        QString Main;
        bool Shift = false;
        bool Caps = false;
        // Its own (no remembered place: a moved second program would otherwise move the next first).
        std::unique_ptr<QTemporaryDir> Settings = std::make_unique<QTemporaryDir>();
    };

    // A new program, or one in place of the first (whose Shift and Caps may no longer be what
    // the clicks made them, after clicks went astray).
    static void StartProgram(bool Replacing = false)
    {
        if (Replacing) {
            Stop(Programs[0].Process);
            Programs.erase(Programs.begin());
        }
        TProgram Program;
        // The keypad font's codes the model knows, and a second keyboard beside the first
        // rather than handing over to it.
        const QStringList Arguments { QStringLiteral("--output=lumera"), QStringLiteral("--new-instance") };
        ASSERT_FALSE((Program.Main = StartKivo(Program.Process, Arguments, Program.Settings->path())).isEmpty());
        ASSERT_TRUE(WaitUntilStill(Program.Main));
        // A second program goes to the top of the screen, clear of the first.
        if (!Programs.empty()) {
            Xdotool({ QStringLiteral("windowmove"), Program.Main, QStringLiteral("0"), QStringLiteral("0") });
            ASSERT_TRUE(WaitUntilStill(Program.Main));
            ASSERT_LT(ClientBounds(Program.Main).top(), 100);
        }
        Programs.insert(Replacing ? Programs.begin() : Programs.end(), std::move(Program));
    }

    // Makes the clicks, each Gap to MaximumGap ms after what the click before typed arrived;
    // returns what arrived. Expected gets what the keypads' one-shot Shift and Caps Lock make of
    // the clicks (a key types its caption), and ByProgram what each program's clicks type.
    static QByteArray Click(const std::vector<TProgramClick>& Clicks, QByteArray& Expected, int Gap, int MaximumGap = 0,
        std::optional<int> ImpatientHold = std::nullopt)
    {
        ByProgram.assign(Programs.size(), {});
        std::vector<QRect> Keypads;
        for (const TProgram& Program : Programs)
            Keypads.push_back(ClientBounds(Program.Main));
        std::vector<TPacedClick> Script;
        for (const TProgramClick& Each : Clicks) {
            TProgram& Program = Programs[std::size_t(Each.Program)];
            int Bytes = 0;
            if (Each.Kind == ckShift) {
                Program.Shift = !Program.Shift;
            } else if (Each.Kind == ckCaps) {
                Program.Caps = !Program.Caps;
                Program.Shift = false;
            } else {
                QByteArray Typed = QByteArray::fromStdString(CaptionOf(AlphaRowCaptions(Each.Row, Program.Shift, Program.Caps), Each.Column));
                // The keypad font has no capital J or V: those keys type the small letters.
                if (Typed == "J" || Typed == "V")
                    Typed = Typed.toLower();
                Expected += Typed;
                ByProgram[std::size_t(Each.Program)] += Typed;
                Bytes = int(Typed.size());
                Program.Shift = false;
            }
            const TClick Key = Each.Kind == ckLetter ? Letter(Each.Row, Each.Column) : Each.Kind == ckShift ? Shift : Caps;
            Script.push_back({ KeypadPoint(Keypads[std::size_t(Each.Program)], Key), Bytes });
        }
        Report = RunPacedClicks(Script, Target->File, Target->Mark(), Gap, std::max(Gap, MaximumGap), ImpatientHold);
        QThread::msleep(200); // a surplus would have arrived by now
        return Target->Typed();
    }

    // Exact, or how far from it (and the first program is replaced, its state being unknown).
    static void ExpectExact(const QByteArray& Arrived, const QByteArray& Expected, const std::string& What)
    {
        const TTypingDifference Difference = CompareTyped(QString::fromLatin1(Expected), QString::fromLatin1(Arrived));
        std::printf("%s: %lld characters expected, %s; driver: %s\n", What.c_str(), qlonglong(Expected.size()), Difference.Summary().c_str(),
            qPrintable(Report));
        EXPECT_TRUE(Difference.Exact()) << What << ": " << Difference.Summary() << "\nexpected " << Expected.toStdString() << "\narrived  "
                                        << Arrived.toStdString();
        Unsure = Unsure || !Difference.Exact();
    }

    void SetUp() override
    {
        if (std::exchange(Unsure, false))
            StartProgram(true);
    }

    static int ResidentKilobytes(const QProcess& Process)
    {
        static const QRegularExpression Resident(QStringLiteral("VmRSS:\\s+(\\d+)"));
        const auto Found = Resident.match(QString::fromLatin1(Contents(QStringLiteral("/proc/%1/status").arg(Process.processId()))));
        return Found.hasMatch() ? Found.captured(1).toInt() : -1;
    }

    static inline std::vector<TProgram> Programs;
    static inline std::vector<QByteArray> ByProgram;
    static inline QString Report;
    static inline bool Unsure = false;
};

// Each layout in turn is set while the program runs, just before a round of its clicks: a
// fresh keymap, with no spares yet. "us" has every letter; the others have none (gr) or some
// in other places (de).
struct TScenario {
    const char* Name;
    std::vector<const char*> Layouts;
    int Gap; // ms after the arrival of the character before
    // Set: the clicker is impatient, as a hand's mouse is, the button held this many ms.
    std::optional<int> ImpatientHold = std::nullopt;
};

const TScenario Scenarios[] = {
    {"FreshGreekSparesAt20ms", {"gr", "gr", "gr"}, 20},
    {"FreshGreekSparesAt100ms", {"gr", "gr", "gr"}, 100},
    {"LayoutSwitchesAt20ms", {"de", "gr", "us", "gr"}, 20},
    {"LayoutSwitchesAt100ms", {"us", "gr", "de", "gr"}, 100},
    {"ImpatientOnFreshGreekSparesAt20ms", {"gr", "gr", "gr"}, 20, 0},
    {"ImpatientHeldOnFreshGreekSparesAt20ms", {"gr", "gr", "gr"}, 20, 40},
    {"ImpatientOnFreshGreekSparesAt100ms", {"gr", "gr"}, 100, 0},
    {"ImpatientOnUsAt20ms", {"us", "us"}, 20, 0},
    {"ImpatientHeldOnUsAt100ms", {"us"}, 100, 40},
};

class KivoPacedClicks : public KivoClicks, public testing::WithParamInterface<TScenario> {};

TEST_P(KivoPacedClicks, EveryClickArrivesOnceInOrderAndCase)
{
    unsigned Seed = 1;
    for (const char* Layout : GetParam().Layouts) {
        ASSERT_TRUE(SetLayout(QString::fromLatin1(Layout)));
        QByteArray Expected;
        const QByteArray Arrived = Click(FreshLetterClicks(1, Seed++), Expected, GetParam().Gap, 0, GetParam().ImpatientHold);
        ExpectExact(Arrived, Expected, std::string(GetParam().Name) + " on " + Layout);
    }
}

INSTANTIATE_TEST_SUITE_P(, KivoPacedClicks, testing::ValuesIn(Scenarios), [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(KivoClicks, TwoProgramsClickedAlternatelyOnGreekTypeExactly)
{
    if (Programs.size() < 2)
        StartProgram();
    ASSERT_EQ(Programs.size(), 2u);
    ASSERT_TRUE(SetLayout(QStringLiteral("gr")));
    QByteArray Expected;
    const QByteArray Arrived = Click(FreshLetterClicks(2, 3), Expected, 40, 60);
    // The two programs work side by side, so one may type its character before the other's
    // earlier one; each program's own characters arrive exactly, in order and case.
    for (std::size_t Program = 0; Program < ByProgram.size(); ++Program) {
        QByteArray Own;
        for (const char Byte : Arrived)
            if (ByProgram[Program].toLower().contains(QByteArray(1, Byte).toLower()))
                Own += Byte;
        ExpectExact(Own, ByProgram[Program], "program " + std::to_string(Program + 1) + " of two");
    }
    EXPECT_EQ(Arrived.size(), Expected.size());
    // The second program would share the spares in the tests that follow.
    EXPECT_TRUE(Stop(Programs.back().Process));
    Programs.pop_back();
}

// A thousand clicks paced as above, 20 to 100 ms after each arrival, with a fresh keymap
// before each round: every one exact, and the program's memory as it was after the first
// rounds, within what the allocator keeps in reserve.
TEST_F(KivoClicks, SoakOfAThousandClicksStaysExactWithFlatMemory)
{
    const char* const Layouts[] = {"gr", "us", "gr", "de"};
    QByteArray Expected, Arrived;
    int Clicks = 0, Settled = 0;
    for (unsigned Round = 0; Clicks < 1000; ++Round) {
        ASSERT_TRUE(SetLayout(QString::fromLatin1(Layouts[Round % std::size(Layouts)])));
        const std::vector<TProgramClick> RoundClicks = FreshLetterClicks(1, 10 + Round);
        Arrived += Click(RoundClicks, Expected, 20, 100);
        Clicks += int(RoundClicks.size());
        if (Round == 3)
            Settled = ResidentKilobytes(*Programs[0].Process);
    }
    ExpectExact(Arrived, Expected, "soak of " + std::to_string(Clicks) + " clicks");
    const int Final = ResidentKilobytes(*Programs[0].Process);
    std::printf("resident memory: %d kB after four rounds, %d kB after %d clicks\n", Settled, Final, Clicks);
    EXPECT_LT(Final - Settled, 2048) << "memory grew from " << Settled << " kB to " << Final << " kB";
}

} // namespace
