// Greek from KIVO's X11 path into an X11 program on a Wayland desktop (KWin, gnome-shell):
// KIVO and a UTF-8 xterm run on the desktop's Xwayland, the pointer is the desktop's own (the
// bed's wl-click), so every click goes through the compositor as a user's would. Xwayland takes
// spare keys only device by device; the line must still arrive as its exact NFC bytes,
// the xterm keep the focus in the compositor's view, and the keymap be the layout's own again
// after KIVO ends, also after a KIVO that was killed (repaired by the next one's start).
// Run through scripts/with-wayland kwin|gnome.
#include "DesktopScenario.h"
#include "EndToEndSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
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
        QProcess::execute(QStringLiteral("wl-key"), { QStringLiteral("Shift_L") });
        // The compositor has handled the key; Xwayland takes it from its Wayland connection in
        // its own time, after which the keymap shown is the seat's.
        QThread::msleep(300);
    } else
        QProcess::execute(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("shift") });
    return RunCommand(QStringLiteral("xkbcomp"), { QStringLiteral("-xkb"), qEnvironmentVariable("DISPLAY"), QStringLiteral("-") });
}

// The lines of one keymap that the other lacks, for a failure's message.
std::string Lacking(const QString& In, const QString& From)
{
    const QStringList Lines = From.split(QLatin1Char('\n'));
    QStringList Lacked;
    for (const QString& Line : In.split(QLatin1Char('\n')))
        if (!Lines.contains(Line))
            Lacked << Line;
    return Lacked.join(QLatin1Char('\n')).toStdString();
}

QString SpareKeyRecord() { return RunCommand(QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_KIVO_SPARE_KEYS") }); }

class KivoOnXwayland : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariable("WAYLAND_DISPLAY").isEmpty()) << "run through scripts/with-wayland";
        SeatKeymapBefore = Keymap(Seat);
        KeymapBefore = Keymap();
        ASSERT_FALSE(KeymapBefore.isEmpty() || SeatKeymapBefore.isEmpty());
        TargetFile = Directory.filePath(QStringLiteral("typed"));
        ASSERT_FALSE((TargetWindow = StartTargetTerminal(Target, TargetFile, QStringLiteral("icanon iutf8 -echo"), true)).isEmpty());
        TargetFocus = QString::number(Target.processId()) + QStringLiteral(" kivo-target");
        // A new window need not get the focus on these desktops: the user clicks into it.
        SeatClick(ClientBounds(TargetWindow).center());
        ASSERT_TRUE(WaitFor([&] { return CompositorFocus() == TargetFocus; })) << CompositorFocus().toStdString();
    }

    void TearDown() override
    {
        for (QProcess* Process : { &Kivo, &Target })
            Process->terminate(), Process->waitForFinished(5000);
    }

    void StartKivo()
    {
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        Kivo.setProcessEnvironment(Environment);
        Kivo.setProcessChannelMode(QProcess::ForwardedChannels);
        Kivo.start(QStringLiteral(KIVO_PROGRAM), { QStringLiteral("--output=unicode") });
        ASSERT_TRUE(WaitFor([&] { return !(MainWindow = FindKivoWindow()).isEmpty(); }, 15000));
        // Placed once its size and place have settled.
        QRect Bounds;
        WaitFor([&] {
            const QRect Now = ClientBounds(MainWindow);
            const bool Settled = Now == Bounds && Now.width() > 400;
            Bounds = Now;
            QThread::msleep(100);
            return Settled;
        });
    }

    // Xwayland's root is the desktop's one output: the main window's place is the keypad's.
    void Click(const std::vector<TClick>& Clicks) const { TKeypadOnScreen { .Area = [&] { return ClientBounds(MainWindow); } }.Click(Clicks); }

    QByteArray Typed() const { return FileContents(TargetFile); }

    QTemporaryDir Directory;
    QProcess Target, Kivo;
    QString TargetFile, TargetWindow, TargetFocus, MainWindow, KeymapBefore, SeatKeymapBefore;
};

TEST_F(KivoOnXwayland, GreekClickedOnTheKeypadArrivesExactlyAndTheKeymapIsRestored)
{
    StartKivo();
    Click(PolytonicLineClicks);
    Click({ Enter });
    const QByteArray Expected = PolytonicLine.toUtf8() + '\n';
    ExpectArrived([&] { return Typed(); }, Expected, "typed", 200);
    EXPECT_EQ(CompositorFocus(), TargetFocus);
    EXPECT_TRUE(Keymap() != KeymapBefore) << "the Greek letters were typed through spare keys";

    // Killed, KIVO leaves its spares behind; the next KIVO's start gives them back.
    Kivo.kill();
    Kivo.waitForFinished(5000);
    EXPECT_TRUE(Keymap() != KeymapBefore);
    StartKivo();
    EXPECT_TRUE(WaitFor([&] { return Keymap() == KeymapBefore; }, 5000)) << "the spares of the killed KIVO are still mapped";

    // And a KIVO that ends gives back what it took.
    Click({ L, Enter });
    const QByteArray Second = Expected + QStringLiteral("λ\n").toUtf8();
    EXPECT_TRUE(WaitFor([&] { return Typed() == Second; }, 10000)) << "typed \"" << Typed().toStdString() << "\"";
    EXPECT_TRUE(Keymap() != KeymapBefore);
    Kivo.terminate();
    EXPECT_TRUE(Kivo.waitForFinished(5000));
    const QString SeatAfter = Keymap(Seat), After = Keymap();
    EXPECT_TRUE(After == KeymapBefore) << "the keymap lost:\n" << Lacking(KeymapBefore, After) << "\ngained:\n" << Lacking(After, KeymapBefore);
    EXPECT_TRUE(SeatAfter == SeatKeymapBefore) << "the seat's keymap lost:\n" << Lacking(SeatKeymapBefore, SeatAfter) << "\ngained:\n"
                                               << Lacking(SeatAfter, SeatKeymapBefore);
    EXPECT_FALSE(SpareKeyRecord().contains(QLatin1Char('='))) << SpareKeyRecord().toStdString();
    EXPECT_EQ(CompositorFocus(), TargetFocus);
}

} // namespace

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
