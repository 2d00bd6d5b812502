// Real clicks on the program as fast as a quick hand makes them (40 to 60 ms apart), while its
// keymap changes under it: right after `setxkbmap gr` (every Latin letter goes onto a spare
// key), right after a switch of layout, and with two programs clicked alternately. Letters,
// Shift and Caps are interleaved; what arrives in a real xterm must be exactly what the clicks
// typed, in order and case. One XTest client (ClickDriver) makes every click and keeps at most
// a few characters outstanding.
#include "EndToEndSupport.h"
#include "KeyLayout.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Last: Xlib's macros would clash with names in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

constexpr int Patience = 10000; // milliseconds for a window or a file to appear

bool RunProgram(const QString& Program, const QStringList& Arguments, const QByteArray& Input = {}, QByteArray* Output = nullptr)
{
    QProcess Process;
    Process.start(Program, Arguments);
    Process.write(Input);
    Process.closeWriteChannel();
    if (!Process.waitForFinished(120000))
        return false;
    if (Output)
        *Output = Process.readAllStandardOutput();
    return Process.exitStatus() == QProcess::NormalExit && Process.exitCode() == 0;
}

bool SetLayout(const char* Layout) { return RunProgram(QStringLiteral("setxkbmap"), {QString::fromLatin1(Layout)}); }

// The top-level client windows that the window manager lists, by their title.
class TScreen {
public:
    TScreen() : Connection(XOpenDisplay(nullptr)) {}
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

// Letter keys of the three letter rows.
const std::pair<int, int> LetterKeys[] = {{3, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 1}, {4, 2}, {4, 3}, {4, 4}, {4, 8}, {5, 2}, {5, 3}, {5, 5}};

std::vector<TClick> RandomClicks(int Count, int Programs, unsigned Seed)
{
    std::mt19937 Random(Seed);
    std::uniform_int_distribution<int> Kind(0, 99), Letter(0, int(std::size(LetterKeys)) - 1);
    std::vector<TClick> Clicks;
    for (int Index = 0; Index < Count; ++Index) {
        const int Roll = Kind(Random);
        TClick Click {Index % Programs, Roll < 70 ? ckLetter : Roll < 85 ? ckShift : ckCaps};
        // Each program has letters of its own, so that what each typed can be told apart.
        if (Click.Kind == ckLetter) {
            const int Share = int(std::size(LetterKeys)) / Programs;
            std::tie(Click.Row, Click.Column) = LetterKeys[std::size_t(Click.Program * Share + Letter(Random) % Share)];
        }
        Clicks.push_back(Click);
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
        Calibrate();
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

    static void StartProgram()
    {
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
        Programs.push_back(std::move(Program));
    }

    static QPoint Centre(const TClick& Click)
    {
        const QRect Client = Screen.ClientBounds(Programs[std::size_t(Click.Program)].Main);
        const QRect Area(Client.left(), Client.top() + 30, Client.width() - 127, Client.height() - 30);
        const TKeyMetrics Metrics = ComputeKeyMetrics(kbmAlphaNumeric, TLayoutFrame {Area.width(), Area.height(), 1, 0});
        const TKeyBounds Key = Click.Kind == ckLetter ? AlphaNumericGridKeyBounds(Metrics, Click.Row, Click.Column)
                                                      : AlphaNumericSpecialKeyBounds(Metrics, Click.Kind == ckShift ? 2 : 1);
        return Area.topLeft() + QPoint(Key.Left + Key.Width / 2, Key.Top + Key.Height / 2);
    }

    static QByteArray FileContents()
    {
        QFile File(TargetFile);
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    }

    // Makes the clicks through ClickDriver; returns what arrived, and with Expected what the
    // keypads' one-shot Shift and Caps Lock make of them.
    static QByteArray Click(const std::vector<TClick>& Clicks, QByteArray& Expected, int MinimumGap = 40, int MaximumGap = 60)
    {
        std::vector<QByteArray> ByProgram;
        return Click(Clicks, Expected, ByProgram, MinimumGap, MaximumGap);
    }

    // As above; ByProgram gets what each program's clicks should type.
    static QByteArray Click(const std::vector<TClick>& Clicks, QByteArray& Expected, std::vector<QByteArray>& ByProgram,
        int MinimumGap = 40, int MaximumGap = 60)
    {
        ByProgram.resize(Programs.size());
        const qsizetype Offset = FileContents().size();
        QByteArray Script;
        for (const TClick& Each : Clicks) {
            TProgram& Program = Programs[std::size_t(Each.Program)];
            int Bytes = 0;
            if (Each.Kind == ckShift) {
                Program.Shift = !Program.Shift;
            } else if (Each.Kind == ckCaps) {
                Program.Caps = !Program.Caps;
                Program.Shift = false;
            } else {
                const QByteArray Typed = Typing[{Each.Row, Each.Column}][Program.Shift != Program.Caps];
                Expected += Typed;
                ByProgram[std::size_t(Each.Program)] += Typed;
                Bytes = int(Typed.size());
                Program.Shift = false;
            }
            const QPoint At = Centre(Each);
            Script += QByteArray::number(At.x()) + ' ' + QByteArray::number(At.y()) + ' ' + QByteArray::number(Bytes) + '\n';
        }
        QByteArray Report;
        RunProgram(QStringLiteral(CLICK_DRIVER), {TargetFile, QString::number(Offset), QString::number(MinimumGap), QString::number(MaximumGap),
                                              QStringLiteral("6")},
            Script, &Report);
        QThread::msleep(200); // a surplus would have arrived by now
        return FileContents().mid(Offset);
    }

    // What each letter key types, small and capital, learnt from slow clicks on a US keymap.
    static void Calibrate()
    {
        ASSERT_TRUE(SetLayout("us"));
        for (const auto& [Row, Column] : LetterKeys) {
            QByteArray Ignored;
            const QByteArray Small = Click({{0, ckLetter, Row, Column}}, Ignored, 150, 150);
            const QByteArray Capital = Click({{0, ckShift}, {0, ckLetter, Row, Column}}, Ignored, 150, 150);
            ASSERT_FALSE(Small.isEmpty());
            ASSERT_FALSE(Capital.isEmpty());
            Typing[{Row, Column}] = {Small, Capital};
        }
    }

    static void ExpectExact(const QByteArray& Arrived, const QByteArray& Expected)
    {
        EXPECT_EQ(Arrived.size(), Expected.size());
        EXPECT_EQ(Arrived.toStdString(), Expected.toStdString());
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
    static inline std::map<std::pair<int, int>, std::array<QByteArray, 2>> Typing;
};

TEST_F(KivoClicks, ClicksRightAfterAFreshGreekKeymapArriveExactly)
{
    ASSERT_TRUE(SetLayout("gr"));
    QByteArray Expected;
    const QByteArray Arrived = Click(RandomClicks(200, 1, 1), Expected);
    ExpectExact(Arrived, Expected);
}

TEST_F(KivoClicks, ClicksRightAfterALayoutSwitchArriveExactly)
{
    unsigned Seed = 2;
    for (const char* Layout : {"de", "gr", "us", "gr"}) {
        ASSERT_TRUE(SetLayout(Layout));
        QByteArray Expected;
        const QByteArray Arrived = Click(RandomClicks(60, 1, Seed++), Expected);
        ExpectExact(Arrived, Expected);
    }
}

TEST_F(KivoClicks, TwoProgramsClickedAlternatelyOnGreekTypeExactly)
{
    if (Programs.size() < 2)
        StartProgram();
    ASSERT_EQ(Programs.size(), 2u);
    ASSERT_TRUE(SetLayout("gr"));
    QByteArray Expected;
    std::vector<QByteArray> ByProgram;
    const QByteArray Arrived = Click(RandomClicks(200, 2, 3), Expected, ByProgram);
    // The two programs work side by side, so one may type its character before the other's
    // earlier one; each program's own characters arrive exactly, in order and case.
    for (std::size_t Program = 0; Program < ByProgram.size(); ++Program) {
        QByteArray Own;
        for (const char Byte : Arrived)
            if (ByProgram[Program].contains(Byte) || ByProgram[Program].contains(QByteArray(1, Byte).toUpper())
                || ByProgram[Program].contains(QByteArray(1, Byte).toLower()))
                Own += Byte;
        ExpectExact(Own, ByProgram[Program]);
    }
    EXPECT_EQ(Arrived.size(), Expected.size());
}

// A thousand clicks with the layout switched every 250: every one exact, and the program's
// memory as it was after the first hundred, within what the allocator keeps in reserve.
TEST_F(KivoClicks, SoakOfAThousandClicksStaysExactWithFlatMemory)
{
    ASSERT_TRUE(SetLayout("gr"));
    QByteArray Expected;
    QByteArray Arrived = Click(RandomClicks(100, 1, 10), Expected);
    const int Settled = ResidentKilobytes(*Programs[0].Process);
    unsigned Seed = 11;
    for (const char* Layout : {"gr", "us", "gr", "de"}) {
        ASSERT_TRUE(SetLayout(Layout));
        Arrived += Click(RandomClicks(225, 1, Seed++), Expected);
    }
    ExpectExact(Arrived, Expected);
    const int Final = ResidentKilobytes(*Programs[0].Process);
    std::printf("resident memory: %d kB after 100 clicks, %d kB after 1000\n", Settled, Final);
    EXPECT_LT(Final - Settled, 2048) << "memory grew from " << Settled << " kB to " << Final << " kB";
}

} // namespace

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
