// KIVO native on headless sway (run through scripts/with-wayland sway): the keypad is a layer
// surface whose keys, clicked with the seat's real pointer, type through KIVO's virtual keyboard
// into foot (a native Wayland terminal) and an XWayland xterm, which keep the focus; the bed's
// keyboard, typed after KIVO, must still type by its own layout.
#include <QDir>
#include <QSettings>

#include <gtest/gtest.h>

#include "DesktopScenario.h"

#include <string>

namespace {

// The height sway gives a tiled window that has the output to itself (less its title bar):
// it tells whether a layer surface's exclusive zone keeps the windows out of the bottom.
int TiledHeight(const QString& Title)
{
    const QString Height = RunCommand(QStringLiteral("sh"), { QStringLiteral("-c"),
        QStringLiteral("swaymsg -t get_tree | jq '[.. | objects | select(.name? == \"%1\")][0].rect.height'").arg(Title) });
    return Height.toInt();
}

// The seat's button held down through sway while the bed's pointer moves: what the bed's
// clicks cannot do.
void Button(bool Down)
{
    const QString Action = Down ? QStringLiteral("press") : QStringLiteral("release");
    const QStringList Command { QStringLiteral("-q"), QStringLiteral("seat - cursor %1 button1").arg(Action) };
    EXPECT_EQ(QProcess::execute(QStringLiteral("swaymsg"), Command), 0) << "swaymsg failed";
    QThread::msleep(50);
}

void MoveTo(QPoint At)
{
    RunCommand(QStringLiteral("wl-move"), { QString::number(At.x()), QString::number(At.y()) });
    QThread::msleep(30);
}

// Presses at From, holds still for Milliseconds, moves to To in steps as a hand does (if it is
// elsewhere), and lets go there.
void Drag(QPoint From, QPoint To, int Milliseconds = 0)
{
    MoveTo(From);
    Button(true);
    QThread::msleep(std::uint32_t(Milliseconds));
    for (int Step = 1; Step <= 10 && To != From; ++Step)
        MoveTo(From + (To - From) * Step / 10);
    Button(false);
}

// The keypad's default place on the 1280 by 800 output: full width, 202 high, 28 above the
// bottom edge, as on X11 (a layer surface has no frame, so its client area is all of it).
const QRect KeypadWindow(0, 800 - 230, 1280, 202);

const TKeypadOnScreen Keypad { .Area = [] { return KeypadWindow; } };

class KivoOnSway : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QDir().mkpath(QStringLiteral("/tmp/kivo-sway-test"));
        qputenv("HOME", "/tmp/kivo-sway-test/home");
        Foot.StartTerminal(QStringLiteral("foot"), { QStringLiteral("--title"), Foot.Title }, 10000);
        Xterm.StartXterm(10000);
        FullHeight = TiledHeight(Foot.Title);

        StartKivo();
        // Mapped once sway makes room for it: the tiled windows get shorter.
        KivoShown = WaitFor([] { return TiledHeight(Foot.Title) < FullHeight; });
        QThread::msleep(300);
    }

    static void StartKivo()
    {
        Kivo.setProcessChannelMode(QProcess::ForwardedChannels);
        Kivo.start(QStringLiteral(KIVO_PROGRAM), { QStringLiteral("--output=unicode") });
    }

    static void StopKivo()
    {
        Kivo.terminate();
        EXPECT_TRUE(Kivo.waitForFinished(5000));
    }

    // The keypad's place as KIVO keeps it for its next start, "X Y WIDTH HEIGHT".
    static std::string StoredPlace()
    {
        const QSettings Settings(QStringLiteral("/tmp/kivo-sway-test/home/.config/kivo/kivo.conf"),
            QSettings::IniFormat);
        const QRect Place = Settings.value(QStringLiteral("MainWindow/Bounds")).toRect();
        return QString::asprintf("%d %d %d %d", Place.x(), Place.y(), Place.width(), Place.height()).toStdString();
    }

    static void TearDownTestSuite()
    {
        StopKivo();
        End(*Foot.Process);
        End(*Xterm.Process);
    }

    void SetUp() override { ASSERT_TRUE(KivoShown) << "KIVO's keypad never took its zone at the bottom"; }

    static void Focus(const TTarget& Target)
    {
        RunCommand(QStringLiteral("swaymsg"), { QStringLiteral("[title=\"%1\"] focus").arg(Target.Title) });
        WaitFor([&] { return Target.HasFocus(); });
    }

    static inline TTarget Foot { .Title = QStringLiteral("kivo-foot"),
        .File = QStringLiteral("/tmp/kivo-sway-test/foot-typed") };
    static inline TTarget Xterm { .Title = QStringLiteral("kivo-xterm"),
        .File = QStringLiteral("/tmp/kivo-sway-test/xterm-typed") };
    static inline QProcess Kivo { nullptr };
    static inline bool KivoShown = false;
    static inline int FullHeight = 0;
};

// Clicks, keys of the bed's keyboard Pause milliseconds later, and clicks again, in foot and in
// the xterm alike: what arrives, exactly.
TEST_F(KivoOnSway, WhatTheKeypadAndTheUsersKeyboardTypeArrivesInNativeAndXWaylandPrograms)
{
    const struct {
        const char* What;
        std::vector<TClick> Clicks;
        int Pause;
        std::vector<const char*> KeysThen;
        std::vector<TClick> ClicksThen;
        QString Expected;
    } Cases[] = {
        { "the polytonic line as its NFC bytes", PolytonicLineClicks, 0, {}, { Enter }, PolytonicLine },
        { "Backspace after a mark takes that mark off",
            { A, Acute, Backspace, V, IotaSubscript, Rough, Circumflex, Backspace, Enter }, 0, {}, {},
            QStringLiteral("αᾡ") },
        // The key that types "<" on the bed's "us" layout (the one beside the left Shift) types a
        // Greek letter in KIVO's keymap: only the bed keyboard's own keymap makes it "<".
        { "the user's keyboard types by its own layout after KIVO", { A }, 0, { "less", "semicolon", "Return" }, {},
            QStringLiteral("α<;") },
        // After anything KIVO did not type, a mark waits for the next letter (see below). The
        // pointer stays on the keypad: only the seat's activity tells of the key. (A key within a
        // tenth of a second after KIVO's own input, or just before it, would be taken for KIVO's:
        // a hand takes longer, from the mouse to the keys and back.)
        { "a key of the user's keyboard makes the next mark wait", { A }, 300, { "period" }, { Smooth, E, Enter },
            QStringLiteral("α.ἐ") },
    };
    for (TTarget* Target : { &Foot, &Xterm }) {
        for (const auto& Case : Cases) {
            SCOPED_TRACE(Case.What);
            Focus(*Target);
            Keypad.Click(Case.Clicks);
            QThread::msleep(std::uint32_t(Case.Pause));
            Keys(Case.KeysThen);
            QThread::msleep(Case.KeysThen.empty() ? 0 : 100);
            Keypad.Click(Case.ClicksThen);
            ExpectArrived(*Target, Case.Expected, 100);
        }
    }
}

// After anything KIVO did not type, a mark waits for the next letter: had it replaced the letter
// before, its BackSpace would have erased what is now before the cursor.
TEST_F(KivoOnSway, ThePointerLeavingTheKeypadMakesTheNextMarkWaitForItsLetter)
{
    Focus(Foot);
    Keypad.Click({ L, O });
    RunCommand(QStringLiteral("wl-move"), { QStringLiteral("640"), QStringLiteral("200") });
    QThread::msleep(100);
    Keypad.Click({ Acute, E, Enter });
    ExpectArrived(Foot, QStringLiteral("λοέ"), 100);
}

TEST_F(KivoOnSway, AnotherActiveWindowMakesTheNextMarkWaitForItsLetter)
{
    Focus(Foot);
    Keypad.Click({ E });
    Focus(Xterm);
    Focus(Foot);
    Keypad.Click({ Acute, E, Enter });
    ExpectArrived(Foot, QStringLiteral("εέ"), 100);
}

TEST_F(KivoOnSway, AHeldBackspaceRepeatsAtTheDesktopsRate)
{
    // sway repeats after 600 ms, 25 times a second: held for 1.5 s, Backspace erases all five.
    Focus(Foot);
    Keypad.Click({ A, E, H, O, L });
    const QPoint AtBackspace = KeypadPoint(KeypadWindow, Backspace);
    Drag(AtBackspace, AtBackspace, 1500);
    Keypad.Click({ G, Enter });
    ExpectArrived(Foot, QStringLiteral("γ"), 100);
}

TEST_F(KivoOnSway, TheKeypadMovesAndResizesByItsBackgroundAndEdgesAndKeepsItsPlace)
{
    // A window without a frame is taken to have reached its first place only after its last
    // settling check, two seconds after it was first shown; a move before then is undone.
    QThread::msleep(2500);
    // The banner row's text is background: dragged 300 up, the keypad floats above the tiled
    // windows, which get the whole height back.
    Drag(QPoint(300, 585), QPoint(300, 285));
    EXPECT_TRUE(WaitFor([] { return TiledHeight(Foot.Title) == FullHeight; })) << TiledHeight(Foot.Title);
    EXPECT_TRUE(WaitFor([] { return StoredPlace() == "0 270 1280 202"; })) << StoredPlace();
    // Its right edge, below the accent buttons, 200 to the left.
    Drag(QPoint(1278, 455), QPoint(1078, 455));
    EXPECT_TRUE(WaitFor([] { return StoredPlace() == "0 270 1080 202"; })) << StoredPlace();

    // The next start puts it there again (the tiled windows keep their height), and its keys
    // type there.
    StopKivo();
    StartKivo();
    Focus(Foot);
    QThread::msleep(3000);
    SeatClick(KeypadPoint(QRect(0, 270, 1080, 202), A));
    Keys({ "Return" });
    ExpectArrived(Foot, QStringLiteral("α"), 100);
    EXPECT_EQ(TiledHeight(Foot.Title), FullHeight);
}

} // namespace
