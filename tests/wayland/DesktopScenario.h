#pragma once
// What the end-to-end tests of every Wayland desktop do alike: the polytonic line clicked on the
// keypad through the seat's pointer (wl-click), what arrived checked byte for byte, and the
// focus checked in the compositor's view (wl-focused). A desktop's test says where its keypad
// is and how its clicks are paced.
#include "KeypadClicks.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The line as the NFC text that must arrive, and the clicks that type it (without its end: the
// targets end a line differently).
inline const QString PolytonicLine = QStringLiteral("Ἐν ἀρχῇ ἦν ὁ λόγος").normalized(QString::NormalizationForm_C);
inline const std::vector<TClick> PolytonicLineClicks { Shift, E, Smooth, N, Space, A, Smooth, R, X, H, IotaSubscript, Circumflex, Space, H,
    Smooth, Circumflex, N, Space, O, Rough, Space, L, O, Acute, G, O, W };

// "PID TITLE" of the window with the keyboard focus, as the compositor has it.
inline QString CompositorFocus()
{
    QProcess Process;
    Process.start(QStringLiteral("wl-focused"), {});
    return Process.waitForFinished(30000) && Process.exitCode() == 0 ? QString::fromUtf8(Process.readAllStandardOutput()).trimmed() : QString();
}

// The focus on the target, as OnTarget judges the compositor's answer.
inline void ExpectFocus(const std::function<bool(const QString&)>& OnTarget)
{
    const QString Focus = CompositorFocus();
    EXPECT_TRUE(OnTarget(Focus)) << "focus: " << Focus.toStdString();
}

// A left click through the seat's pointer, then Pace milliseconds as a quick hand leaves.
inline void SeatClick(QPoint At, int Pace = 100)
{
    EXPECT_EQ(QProcess::execute(QStringLiteral("wl-click"), { QString::number(At.x()), QString::number(At.y()) }), 0) << "wl-click failed";
    QThread::msleep(std::uint32_t(Pace));
}

// How one desktop's test clicks on the keypad: its client area on the screen now, the pace, and
// what must come first in a run of clicks (if anything).
struct TKeypadOnScreen {
    std::function<QRect()> Area;
    int Pace = 100;
    std::function<void(const QRect&)> BeforeClicks = {};

    void Click(const std::vector<TClick>& Clicks) const
    {
        const QRect Client = Area();
        if (BeforeClicks)
            BeforeClicks(Client);
        for (const TClick& Each : Clicks)
            SeatClick(KeypadPoint(Client, Each), Pace);
    }
};

// Got against Expected in hex, so that the wrong byte shows, with the text as it arrived.
inline void ExpectBytes(const QByteArray& Got, const QByteArray& Expected, const std::string& What)
{
    EXPECT_EQ(Got.toHex(' ').toStdString(), Expected.toHex(' ').toStdString()) << What << " \"" << Got.toStdString() << "\"";
}

// Up to ten seconds for as many bytes as expected, Settle milliseconds more for any that should
// not come, then the bytes checked.
inline void ExpectArrived(const std::function<QByteArray()>& Read, const QByteArray& Expected, const std::string& What, int Settle = 0)
{
    for (QDeadlineTimer Deadline(10000); Read().size() < Expected.size() && !Deadline.hasExpired();)
        QThread::msleep(20);
    QThread::msleep(std::uint32_t(Settle));
    ExpectBytes(Read(), Expected, What);
}

// The line and then a mark taken off again, clicked into an XWayland xterm (KIVO's X11 path on
// a desktop whose native programs it serves otherwise), and the xterm still focused.
inline void ExpectTheLineInAnXterm(const TKeypadOnScreen& Keypad, const std::function<QByteArray()>& Typed,
    const std::function<bool(const QString&)>& OnXterm)
{
    Keypad.Click(PolytonicLineClicks);
    Keypad.Click({ Space, A, Acute, Backspace, Enter });
    ExpectArrived(Typed, (PolytonicLine + QStringLiteral(" α")).toUtf8() + '\n', "typed:");
    ExpectFocus(OnXterm);
}
