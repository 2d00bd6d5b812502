// The program as a desktop keeps it, on a real X server with a window manager: one KIVO per
// display, a held Backspace repeating at the server's rate, the window's place kept across a
// kill and a start, and "Reset position". A real xterm running `cat > FILE` in raw mode holds
// the focus throughout. Run through scripts/with-x --wm.
#include "EndToEndSupport.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>

#include <signal.h>

namespace {

class DesktopOnX : public TKivoTest {
protected:
    static void SetUpTestSuite() { StartTarget(QStringLiteral("raw -echo")); }

    void SetUp() override
    {
        ASSERT_TRUE(Activate(Target->Window));
        Target->Mark();
        StartKivo();
    }

    void TearDown() override { EXPECT_TRUE(Stop(Kivo)); }

    // Where the window manager framed it, or where it was before.
    void StartKivo(std::optional<QRect> Place = std::nullopt)
    {
        const QStringList Arguments { QStringLiteral("--output=lumera") };
        ASSERT_FALSE((MainWindow = ::StartKivo(Kivo, Arguments, Config.path(), QProcessEnvironment::systemEnvironment(), Place)).isEmpty());
        WaitUntilStill(MainWindow);
    }

    QByteArray StoredSettings() const { return Contents(Config.filePath(QStringLiteral("kivo/kivo.conf"))); }

    QTemporaryDir Config;
};

TEST_F(DesktopOnX, ASecondStartHandsItsCommandLineToTheFirstAndEnds)
{
    Xdotool({ QStringLiteral("windowminimize"), QStringLiteral("--sync"), MainWindow });
    ASSERT_TRUE(WaitFor([&] { return FindWindow(QString::fromLatin1(MainTitle)).isEmpty(); }));

    QProcess Second;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Config.path());
    Second.setProcessEnvironment(Environment);
    Second.start(QStringLiteral(KIVO_PROGRAM), { QStringLiteral("--output=lumera") });
    ASSERT_TRUE(Second.waitForFinished(10000));
    EXPECT_EQ(Second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Second.exitCode(), 0);

    // The first keyboard is back on screen, and it is the only one.
    EXPECT_TRUE(WaitFor([&] { return FindWindow(QString::fromLatin1(MainTitle)) == MainWindow; }));
    WaitUntilStill(MainWindow);
    EXPECT_EQ(FindWindows(QString::fromLatin1(MainTitle)), QStringList { MainWindow });
    EXPECT_EQ(::kill(static_cast<pid_t>(Kivo->processId()), 0), 0) << "the first KIVO ended";

    // It still types into the program that has the focus.
    ClickKeys(MainWindow, { A });
    Target->ExpectTyped("a");
}

TEST_F(DesktopOnX, AHeldBackspaceRepeatsAtTheServersDelayAndRate)
{
    const int Delay = 400;
    const int Interval = 40; // 25 a second
    RunCommand(QStringLiteral("xset"), { QStringLiteral("r"), QStringLiteral("rate"), QString::number(Delay), QStringLiteral("25") });
    const QPoint At = KeypadPoint(ClientBounds(MainWindow), Backspace);
    Xdotool({ QStringLiteral("mousemove"), QString::number(At.x()), QString::number(At.y()) });

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
    const int Arrived = static_cast<int>(Target->Typed().count('\x7f'));
    std::printf("held %lld to %lld ms: %d Backspaces, %d to %d expected\n", ReleaseFrom - PressedBy, ReleasedBy,
        Arrived, Fewest, Most);
    EXPECT_EQ(Target->Typed().size(), Arrived) << "only Backspaces";
    EXPECT_GE(Arrived, Fewest);
    EXPECT_LE(Arrived, Most);
    EXPECT_EQ(FocusedWindow(), Target->Window);
}

TEST_F(DesktopOnX, AMovedWindowComesBackAfterAKillUntilItsPositionIsReset)
{
    Xdotool({ QStringLiteral("windowsize"), MainWindow, QStringLiteral("700"), QStringLiteral("180") });
    Xdotool({ QStringLiteral("windowmove"), MainWindow, QStringLiteral("100"), QStringLiteral("120") });
    ASSERT_TRUE(WaitFor([&] { return ClientBounds(MainWindow).size() == QSize(700, 180); }));
    const QRect Moved = OuterBounds(MainWindow);
    // Stored once the window has come to rest: a kill right after loses nothing.
    ASSERT_TRUE(WaitFor([&] { return StoredSettings().contains("Bounds"); }));
    Kivo->kill();
    Kivo->waitForFinished(3000);

    StartKivo(Moved);
    EXPECT_EQ(OuterBounds(MainWindow), Moved);

    // The window's menu: "Reset position" puts it back, and the next start leaves it there.
    const QRect Client = ClientBounds(MainWindow);
    Xdotool({ QStringLiteral("mousemove"), QString::number(Client.center().x()), QString::number(Client.top() + 14),
        QStringLiteral("click"), QStringLiteral("3") });
    QThread::msleep(500);
    Xdotool({ QStringLiteral("key"), QStringLiteral("r") });
    EXPECT_TRUE(WaitFor([&] { return OuterBounds(MainWindow) == FirstPlace(); }));
    EXPECT_FALSE(StoredSettings().contains("Bounds"));
    StartKivo();
    EXPECT_TRUE(Target->Typed().isEmpty());
}

} // namespace
