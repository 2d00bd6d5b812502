// Greek from KIVO's X11 path into an X11 program on a Wayland desktop (scripts/with-wayland
// kwin|gnome): KIVO and a UTF-8 xterm run on the desktop's Xwayland, and every click goes through
// the compositor as a user's would. Xwayland takes spare keys only device by device; the line
// must still arrive as its exact NFC bytes, the xterm keep the focus, and the keymap be the
// layout's own again after KIVO ends, also after a KIVO that was killed (repaired by the next
// one's start).
#include "DesktopScenario.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Xwayland's core keyboard shows the keymap of the device that typed last: the desktop's seat
// (the compositor's keymap) or XTest (KIVO's keys, a keymap of Xwayland's own). Both must come
// back exactly, so the keymap is read through either, after a Shift from that device.
enum TDevice { Seat, XTest };
QString Keymap(TDevice Via = XTest)
{
    if (Via == Seat) {
        Keys({ "Shift_L" });
        // The compositor has handled the key; Xwayland takes it from its Wayland connection in
        // its own time, after which the keymap shown is the seat's.
        QThread::msleep(300);
    } else
        RunCommand(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("shift") });
    return RunCommand(QStringLiteral("xkbcomp"), { QStringLiteral("-xkb"), qEnvironmentVariable("DISPLAY"), QStringLiteral("-") });
}

// The keymap as it was before KIVO, with the lines it lost and gained for a failure's message.
void ExpectKeymapAsBefore(const QString& After, const QString& Before, const char* What)
{
    const auto Lacking = [](const QString& In, const QString& From) {
        const QStringList Lines = From.split(QLatin1Char('\n'));
        QStringList Lacked;
        for (const QString& Line : In.split(QLatin1Char('\n')))
            if (!Lines.contains(Line))
                Lacked << Line;
        return Lacked.join(QLatin1Char('\n')).toStdString();
    };
    EXPECT_TRUE(After == Before) << What << " lost:\n"
                                 << Lacking(Before, After) << "\ngained:\n"
                                 << Lacking(After, Before);
}

class KivoOnXwayland : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty()) << "run through scripts/with-wayland";
        SeatKeymapBefore = Keymap(Seat);
        KeymapBefore = Keymap();
        ASSERT_FALSE(KeymapBefore.isEmpty() || SeatKeymapBefore.isEmpty());
        // A new window need not get the focus on these desktops: the user clicks into it.
        Target.StartXterm(3000);
        SeatClick(XWindowArea(Target.Title).center());
        ASSERT_TRUE(WaitFor([&] { return Target.HasFocus(); })) << CompositorFocus().toStdString();
    }

    void TearDown() override
    {
        End(Kivo);
        End(*Target.Process);
    }

    void StartKivo()
    {
        qputenv("QT_QPA_PLATFORM", "xcb");
        Kivo.setProcessChannelMode(QProcess::ForwardedChannels);
        Kivo.start(QStringLiteral(KIVO_PROGRAM), { QStringLiteral("--output=unicode") });
        // Placed once its size and place have settled.
        QRect Bounds;
        ASSERT_TRUE(WaitFor([&] {
            const QRect Now = XKeypadArea();
            const bool Settled = Now == Bounds && Now.width() > 400;
            Bounds = Now;
            QThread::msleep(100);
            return Settled;
        }, 20000));
    }

    QTemporaryDir Directory;
    QProcess Kivo;
    TTarget Target { .Title = QStringLiteral("kivo-target"), .File = Directory.filePath(QStringLiteral("typed")) };
    QString KeymapBefore, SeatKeymapBefore;
    // Xwayland's root is the desktop's one output: the main window's place is the keypad's.
    const TKeypadOnScreen Keypad { .Area = XKeypadArea };
};

TEST_F(KivoOnXwayland, GreekClickedOnTheKeypadArrivesExactlyAndTheKeymapIsRestored)
{
    ASSERT_NO_FATAL_FAILURE(StartKivo());
    Keypad.Click(PolytonicLineClicks);
    Keypad.Click({ Enter });
    ExpectArrived(Target, PolytonicLine, 200);
    EXPECT_TRUE(Keymap() != KeymapBefore) << "the Greek letters were typed through spare keys";

    // Killed, KIVO leaves its spares behind; the next KIVO's start gives them back.
    Kivo.kill();
    Kivo.waitForFinished(5000);
    EXPECT_TRUE(Keymap() != KeymapBefore);
    ASSERT_NO_FATAL_FAILURE(StartKivo());
    EXPECT_TRUE(WaitFor([&] { return Keymap() == KeymapBefore; }, 5000)) << "the spares of the killed KIVO are still mapped";

    // And a KIVO that ends gives back what it took.
    Keypad.Click({ L, Enter });
    ExpectArrived(Target, QStringLiteral("λ"));
    EXPECT_TRUE(Keymap() != KeymapBefore);
    Kivo.terminate();
    EXPECT_TRUE(Kivo.waitForFinished(5000));
    const QString SeatAfter = Keymap(Seat);
    ExpectKeymapAsBefore(Keymap(), KeymapBefore, "the keymap");
    ExpectKeymapAsBefore(SeatAfter, SeatKeymapBefore, "the seat's keymap");
    const QString SpareKeys =
        RunCommand(QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_KIVO_SPARE_KEYS") });
    EXPECT_FALSE(SpareKeys.contains(QLatin1Char('='))) << SpareKeys.toStdString();
    ExpectFocus(Target);
}

} // namespace
