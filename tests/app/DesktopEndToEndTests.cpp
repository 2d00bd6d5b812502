// The program as a desktop keeps it, on a real X server with a window manager: one KIVO per
// display, a held Backspace repeating at the server's rate, the window's place kept across a
// kill and a start, and "Reset position". A real xterm running `cat > FILE` in raw mode holds
// the focus throughout. Run through scripts/with-x --wm.
#include "KeyLayout.h"
#include "EndToEndSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include <signal.h>

namespace {

class DesktopOnX : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Directory = std::make_unique<QTemporaryDir>();
        TargetFile = Directory->filePath(QStringLiteral("typed"));
        Target = std::make_unique<QProcess>();
        ASSERT_FALSE((TargetWindow = StartTargetTerminal(*Target, TargetFile, QStringLiteral("raw -echo"))).isEmpty());
    }

    static void TearDownTestSuite()
    {
        Stop(Target);
        Directory.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(Activate(TargetWindow));
        TypedBefore = FileContents(TargetFile).size();
        StartKivo();
        ASSERT_FALSE(MainWindow.isEmpty());
    }

    void TearDown() override
    {
        if (Kivo) {
            Kivo->terminate();
            Kivo->waitForFinished(3000);
        }
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Config.path());
        return Environment;
    }

    // Starts KIVO and waits until its window stands still where the window manager framed it.
    void StartKivo()
    {
        Kivo = std::make_unique<QProcess>();
        Kivo->setProcessChannelMode(QProcess::ForwardedChannels);
        Kivo->setProcessEnvironment(Environment());
        Kivo->start(QStringLiteral(KIVO_PROGRAM), { QStringLiteral("--output=lumera") });
        MainWindow.clear();
        ASSERT_TRUE(WaitFor([&] { return !(MainWindow = FindWindow(QString::fromLatin1(MainTitle))).isEmpty(); }, 10000));
        WaitUntilStill();
    }

    void WaitUntilStill() const
    {
        QRect Last;
        WaitFor([&] {
            const QRect Now = OuterBounds(MainWindow);
            const bool Still = Now == Last;
            Last = Now;
            QThread::msleep(300);
            return Still;
        });
    }

    QRect DefaultPlace() const
    {
        const QSize Screen = ScreenSize();
        return QRect(0, Screen.height() - 230, Screen.width(), 202);
    }

    QByteArray StoredSettings() const
    {
        return FileContents(Config.filePath(QStringLiteral("kivo/kivo.conf")));
    }

    static void Xdotool(const QStringList& Arguments) { RunCommand(QStringLiteral("xdotool"), Arguments); }

    QByteArray TypedHere() const { return FileContents(TargetFile).mid(TypedBefore); }

    static inline std::unique_ptr<QTemporaryDir> Directory;
    static inline QString TargetFile;
    static inline std::unique_ptr<QProcess> Target;
    static inline QString TargetWindow;
    QTemporaryDir Config;
    std::unique_ptr<QProcess> Kivo;
    QString MainWindow;
    qsizetype TypedBefore = 0;
};

TEST_F(DesktopOnX, ASecondStartHandsItsCommandLineToTheFirstAndEnds)
{
    Xdotool({ QStringLiteral("windowminimize"), QStringLiteral("--sync"), MainWindow });
    ASSERT_TRUE(WaitFor([&] { return FindWindow(QString::fromLatin1(MainTitle)).isEmpty(); }));

    QProcess Second;
    Second.setProcessEnvironment(Environment());
    Second.start(QStringLiteral(KIVO_PROGRAM), { QStringLiteral("--output=lumera") });
    ASSERT_TRUE(Second.waitForFinished(10000));
    EXPECT_EQ(Second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Second.exitCode(), 0);

    // The first keyboard is back on screen, and it is the only one.
    EXPECT_TRUE(WaitFor([&] { return FindWindow(QString::fromLatin1(MainTitle)) == MainWindow; }));
    WaitUntilStill();
    const QString All = RunCommand(QStringLiteral("xdotool"),
        { QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^%1$").arg(QString::fromLatin1(MainTitle)) });
    EXPECT_EQ(All, MainWindow);
    EXPECT_EQ(::kill(static_cast<pid_t>(Kivo->processId()), 0), 0) << "the first KIVO ended";

    // It still types into the program that has the focus.
    EXPECT_EQ(FocusedWindow(), TargetWindow);
    TMainWindowClicks { MainWindow }.Key(4, 1);
    EXPECT_TRUE(WaitFor([&] { return TypedHere() == "a"; })) << TypedHere().toStdString();
}

TEST_F(DesktopOnX, AHeldBackspaceRepeatsAtTheServersDelayAndRate)
{
    const int Delay = 400;
    const int Interval = 40; // 25 a second
    RunCommand(QStringLiteral("xset"), { QStringLiteral("r"), QStringLiteral("rate"), QString::number(Delay), QStringLiteral("25") });
    const QPoint Backspace = TKeypadPoints { ClientBounds(MainWindow) }.SpecialKey(BackspaceSlot);
    Xdotool({ QStringLiteral("mousemove"), QString::number(Backspace.x()), QString::number(Backspace.y()) });

    // The hold lies between the two commands' ends and their starts.
    QElapsedTimer Clock;
    Clock.start();
    Xdotool({ QStringLiteral("mousedown"), QStringLiteral("1") });
    const qint64 PressedBy = Clock.elapsed();
    QThread::msleep(static_cast<unsigned long>(1500 - PressedBy));
    const qint64 ReleaseFrom = Clock.elapsed();
    Xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") });
    const qint64 ReleasedBy = Clock.elapsed();

    // As every key, it acts at the release unless held past the delay: then one at the delay
    // and one every interval after it (a physical key gives one more, at its press).
    auto Expected = [&](qint64 Held) { return Held < Delay ? 1 : 1 + static_cast<int>((Held - Delay) / Interval); };
    const int Fewest = Expected(ReleaseFrom - PressedBy) - 1;
    const int Most = Expected(ReleasedBy) + 1;
    QThread::msleep(300); // nothing more arrives after the release
    const int Arrived = static_cast<int>(TypedHere().count('\x7f'));
    std::printf("held %lld to %lld ms: %d Backspaces, %d to %d expected\n", ReleaseFrom - PressedBy, ReleasedBy,
        Arrived, Fewest, Most);
    EXPECT_EQ(TypedHere().size(), Arrived) << "only Backspaces";
    EXPECT_GE(Arrived, Fewest);
    EXPECT_LE(Arrived, Most);
    EXPECT_EQ(FocusedWindow(), TargetWindow);
}

TEST_F(DesktopOnX, AMovedWindowComesBackAfterAKillUntilItsPositionIsReset)
{
    ASSERT_EQ(OuterBounds(MainWindow), DefaultPlace());
    Xdotool({ QStringLiteral("windowsize"), MainWindow, QStringLiteral("700"), QStringLiteral("180") });
    Xdotool({ QStringLiteral("windowmove"), MainWindow, QStringLiteral("100"), QStringLiteral("120") });
    ASSERT_TRUE(WaitFor([&] { return ClientBounds(MainWindow).size() == QSize(700, 180); }));
    const QRect Moved = OuterBounds(MainWindow);
    // Stored once the window has come to rest: a kill right after loses nothing.
    ASSERT_TRUE(WaitFor([&] { return StoredSettings().contains("Bounds"); }));
    Kivo->kill();
    Kivo->waitForFinished(3000);

    StartKivo();
    EXPECT_EQ(OuterBounds(MainWindow), Moved);

    // The window's menu: "Reset position" puts it back, and the next start leaves it there.
    const QRect Client = ClientBounds(MainWindow);
    Xdotool({ QStringLiteral("mousemove"), QString::number(Client.center().x()), QString::number(Client.top() + 14),
        QStringLiteral("click"), QStringLiteral("3") });
    QThread::msleep(500);
    Xdotool({ QStringLiteral("key"), QStringLiteral("r") });
    EXPECT_TRUE(WaitFor([&] { return OuterBounds(MainWindow) == DefaultPlace(); }));
    EXPECT_FALSE(StoredSettings().contains("Bounds"));
    Kivo->terminate();
    Kivo->waitForFinished(3000);
    StartKivo();
    EXPECT_EQ(OuterBounds(MainWindow), DefaultPlace());
    EXPECT_TRUE(TypedHere().isEmpty());
}

} // namespace

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
