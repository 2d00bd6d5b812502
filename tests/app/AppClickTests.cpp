// Real clicks on the program at a hand's pace while its keymap changes under it: right after
// `setxkbmap gr` (every Latin letter goes onto a spare key), right after a switch of layout, and
// with two programs clicked alternately. Letters, Shift and Caps are interleaved; what arrives
// in a real xterm must be exactly what the clicks typed, in order and case. One XTest client
// (ClickDriver) makes every click, each a fixed time after the previous click's character
// arrived in the target: pacing on the previous click instead would leave the program time to
// catch up and hide what piles up in it.
#include "EndToEndSupport.h"
#include "KeyCaptions.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

constexpr int Patience = 10000; // milliseconds for a window or a file to appear

bool RunProgram(const QString& Program, const QStringList& Arguments)
{
    QProcess Process;
    Process.start(Program, Arguments);
    return Process.waitForFinished(120000) && Process.exitStatus() == QProcess::NormalExit && Process.exitCode() == 0;
}

// The top-level client windows that the window manager lists, by their title.
class TScreen {
public:
    TScreen() : Connection(XOpenDisplay(nullptr))
    {
        // A window may go between listing it and reading it: read as having no title.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~TScreen()
    {
        if (Connection)
            XCloseDisplay(Connection);
    }

    std::vector<Window> WindowsTitled(const std::string& Title)
    {
        std::vector<Window> Found;
        for (const Window Client : Property<Window>(DefaultRootWindow(Connection), "_NET_CLIENT_LIST", XA_WINDOW)) {
            auto Name = Property<char>(Client, "_NET_WM_NAME", XInternAtom(Connection, "UTF8_STRING", False));
            if (Name.empty())
                Name = Property<char>(Client, "WM_NAME", XA_STRING);
            if (std::string(Name.begin(), Name.end()) == Title)
                Found.push_back(Client);
        }
        return Found;
    }

    QRect ClientBounds(Window Client)
    {
        XWindowAttributes Attributes {};
        XGetWindowAttributes(Connection, Client, &Attributes);
        int X = 0, Y = 0;
        Window Child = 0;
        XTranslateCoordinates(Connection, Client, DefaultRootWindow(Connection), 0, 0, &X, &Y, &Child);
        return QRect(X, Y, Attributes.width, Attributes.height);
    }

    bool Ready() const { return Connection != nullptr; }

private:
    template <typename T>
    std::vector<T> Property(Window Owner, const char* Name, Atom Type)
    {
        Atom ActualType = None;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Data = nullptr;
        std::vector<T> Values;
        if (XGetWindowProperty(Connection, Owner, XInternAtom(Connection, Name, False), 0, 4096, False, Type, &ActualType,
                &Format, &Count, &After, &Data) == Success && Data) {
            for (unsigned long Index = 0; Index < Count; ++Index)
                Values.push_back(Format == 32 ? T(reinterpret_cast<const unsigned long*>(Data)[Index]) : T(Data[Index]));
        }
        if (Data)
            XFree(Data);
        return Values;
    }

    Display* Connection = nullptr;
};

// A click of one program's keypad: a letter key (Row, Column) or Shift or Caps.
enum TClickKind { ckLetter, ckShift, ckCaps };
struct TClick {
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
std::vector<TClick> FreshLetterClicks(int Programs, unsigned Seed)
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
    std::vector<TClick> Clicks;
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

class KivoClicks : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Screen.Ready());
        Directory = std::make_unique<QTemporaryDir>();
        TargetFile = Directory->filePath(QStringLiteral("typed"));
        Target = std::make_unique<QProcess>();
        Target->start(QStringLiteral("xterm"), {QStringLiteral("-T"), QStringLiteral("kivo-click-target"), QStringLiteral("-geometry"),
                                                   QStringLiteral("80x10+0+200"), QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"),
                                                   QStringLiteral("stty raw -echo; exec cat > '%1'").arg(TargetFile)});
        std::vector<Window> Found;
        ASSERT_TRUE(WaitFor([&] { return !(Found = Screen.WindowsTitled("kivo-click-target")).empty(); }, Patience));
        ASSERT_TRUE(RunProgram(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(Found[0])}));
        ASSERT_TRUE(WaitFor([] { return QFile::exists(TargetFile); }, Patience));
        StartProgram();
        ASSERT_EQ(Programs.size(), 1u);
    }

    static void TearDownTestSuite()
    {
        for (auto& Program : Programs) {
            Program.Process->terminate();
            Program.Process->waitForFinished(5000);
        }
        Programs.clear();
        Target->terminate();
        Target->waitForFinished(3000);
        Target.reset();
        Directory.reset();
    }

    struct TProgram {
        std::unique_ptr<QProcess> Process;
        Window Main = 0;
        bool Shift = false;
        bool Caps = false;
    };

    // A new program, or one in place of the first (whose Shift and Caps may no longer be what
    // the clicks made them, after clicks went astray).
    static void StartProgram(bool Replacing = false)
    {
        if (Replacing) {
            Programs[0].Process->terminate();
            ASSERT_TRUE(Programs[0].Process->waitForFinished(5000));
            Programs.erase(Programs.begin());
            ASSERT_TRUE(WaitFor([] { return Screen.WindowsTitled(MainTitle).size() == Programs.size(); }, Patience));
        }
        const auto Before = Screen.WindowsTitled(MainTitle);
        TProgram Program;
        Program.Process = std::make_unique<QProcess>();
        Program.Process->setProcessChannelMode(QProcess::ForwardedChannels);
        // Settings of their own (no remembered place), the keypad font's codes the model knows,
        // and a second keyboard beside the first rather than handing over to it.
        static QTemporaryDir Settings;
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Settings.path());
        Program.Process->setProcessEnvironment(Environment);
        Program.Process->start(QStringLiteral(KIVO_PROGRAM), {QStringLiteral("--output=lumera"), QStringLiteral("--new-instance")});
        std::vector<Window> Now;
        ASSERT_TRUE(WaitFor([&] { return (Now = Screen.WindowsTitled(MainTitle)).size() > Before.size(); }, Patience));
        for (const Window Each : Now)
            if (std::find(Before.begin(), Before.end(), Each) == Before.end())
                Program.Main = Each;
        // Settled where the program and the window manager put it: the same place for a while.
        auto Settle = [&] {
            QRect Last;
            return WaitFor([&] {
                const QRect Now = Screen.ClientBounds(Program.Main);
                const bool Same = Now == Last;
                Last = Now;
                QThread::msleep(250);
                return Same;
            }, Patience);
        };
        ASSERT_TRUE(Settle());
        // A second program goes to the top of the screen, clear of the first.
        if (!Programs.empty()) {
            RunProgram(QStringLiteral("xdotool"), {QStringLiteral("windowmove"), QString::number(Program.Main), QStringLiteral("0"), QStringLiteral("0")});
            ASSERT_TRUE(Settle());
            ASSERT_LT(Screen.ClientBounds(Program.Main).top(), 100);
        }
        Programs.insert(Replacing ? Programs.begin() : Programs.end(), std::move(Program));
    }

    static QPoint Centre(const TClick& Click)
    {
        const TKeypadPoints Keypad {Screen.ClientBounds(Programs[std::size_t(Click.Program)].Main)};
        return Click.Kind == ckLetter ? Keypad.Key(Click.Row, Click.Column) : Keypad.SpecialKey(Click.Kind == ckShift ? 2 : 1);
    }

    // Makes the clicks, each Gap to MaximumGap ms after what the click before typed arrived;
    // returns what arrived. Expected gets what the keypads' one-shot Shift and Caps Lock make of
    // the clicks (a key types its caption), and ByProgram what each program's clicks type.
    static QByteArray Click(const std::vector<TClick>& Clicks, QByteArray& Expected, std::vector<QByteArray>& ByProgram, int Gap,
        int MaximumGap = 0, std::optional<int> ImpatientHold = std::nullopt)
    {
        ByProgram.resize(Programs.size());
        const qsizetype Offset = FileContents(TargetFile).size();
        std::vector<TPacedClick> Script;
        for (const TClick& Each : Clicks) {
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
            Script.push_back({Centre(Each), Bytes});
        }
        Report = RunPacedClicks(Script, TargetFile, Offset, Gap, std::max(Gap, MaximumGap), ImpatientHold);
        QThread::msleep(200); // a surplus would have arrived by now
        return FileContents(TargetFile).mid(Offset);
    }

    static QByteArray Click(const std::vector<TClick>& Clicks, QByteArray& Expected, int Gap, int MaximumGap = 0,
        std::optional<int> ImpatientHold = std::nullopt)
    {
        std::vector<QByteArray> ByProgram;
        return Click(Clicks, Expected, ByProgram, Gap, MaximumGap, ImpatientHold);
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
        QFile ProcessStatus(QStringLiteral("/proc/%1/status").arg(Process.processId()));
        if (!ProcessStatus.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& Line : ProcessStatus.readAll().split('\n'))
            if (Line.startsWith("VmRSS:"))
                return Line.mid(6).trimmed().split(' ').front().toInt();
        return -1;
    }

    static inline TScreen Screen;
    static inline std::unique_ptr<QTemporaryDir> Directory;
    static inline QString TargetFile;
    static inline std::unique_ptr<QProcess> Target;
    static inline std::vector<TProgram> Programs;
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
    // Set: the clicker is impatient, as a hand's mouse is (press and release go out without
    // waiting for the server), the button held this many ms.
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
    std::vector<QByteArray> ByProgram;
    const QByteArray Arrived = Click(FreshLetterClicks(2, 3), Expected, ByProgram, 40, 60);
    // The two programs work side by side, so one may type its character before the other's
    // earlier one; each program's own characters arrive exactly, in order and case.
    for (std::size_t Program = 0; Program < ByProgram.size(); ++Program) {
        QByteArray Own;
        for (const char Byte : Arrived)
            if (ByProgram[Program].contains(Byte) || ByProgram[Program].contains(QByteArray(1, Byte).toUpper())
                || ByProgram[Program].contains(QByteArray(1, Byte).toLower()))
                Own += Byte;
        ExpectExact(Own, ByProgram[Program], "program " + std::to_string(Program + 1) + " of two");
    }
    EXPECT_EQ(Arrived.size(), Expected.size());
    // The second program would share the spares in the tests that follow.
    Programs.back().Process->terminate();
    EXPECT_TRUE(Programs.back().Process->waitForFinished(5000));
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
        const std::vector<TClick> RoundClicks = FreshLetterClicks(1, 10 + Round);
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

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
