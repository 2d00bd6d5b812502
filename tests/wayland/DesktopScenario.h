#pragma once
// What the end-to-end tests of every Wayland desktop do alike: the test bed's commands (wl-click,
// wl-key, wl-focused ...), the programs typed into, and the polytonic line clicked on the keypad
// through the seat's pointer, what arrived checked byte for byte and the focus checked in the
// compositor's view. A desktop's test says where its keypad is and how its clicks are paced.
#include "KeypadClicks.h"
#include "Waiting.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Keys of the bed's keyboard, by their keysym names, one after the other.
inline void Keys(const std::vector<const char*>& Names)
{
    for (const char* Name : Names)
        RunCommand(QStringLiteral("wl-key"), { QString::fromLatin1(Name) });
}

// Key pressed while Modifier is held (Control_L and s: a save).
inline void Chord(const char* Modifier, const char* Key)
{
    RunCommand(QStringLiteral("wl-press"), { QString::fromLatin1(Modifier) });
    Keys({ Key });
    RunCommand(QStringLiteral("wl-release"), { QString::fromLatin1(Modifier) });
}

// The client area of an X11 window on Xwayland, in screen coordinates (one output, scale 1).
inline QRect XWindowArea(const QString& Title)
{
    const QString Info = RunCommand(QStringLiteral("xwininfo"), { QStringLiteral("-name"), Title });
    auto Value = [&](const char* Label) {
        return QRegularExpression(QString::fromLatin1(Label) + QStringLiteral(":\\s+(-?\\d+)")).match(Info).captured(1).toInt();
    };
    return Info.isEmpty() ? QRect() : QRect(Value("Absolute upper-left X"), Value("Absolute upper-left Y"), Value("Width"), Value("Height"));
}

// KIVO's keypad on Xwayland, titled as in Unicode output (what it chooses unasked: the bed has
// no Lumera font), and its client area.
inline const QString UnicodeKeypadTitle = QStringLiteral("KIVO Polytonic Greek Keyboard");
inline QRect XKeypadArea() { return XWindowArea(UnicodeKeypadTitle); }

// "PID TITLE" of the window with the keyboard focus, as the compositor has it.
inline QString CompositorFocus() { return RunCommand(QStringLiteral("wl-focused"), {}); }

inline void End(QProcess& Process)
{
    Process.terminate();
    Process.waitForFinished(5000);
}

// A program the keypad types into: its window's title (or its name, for messages), the file that
// shows what it received, how much of that a test has checked already, and the process (the
// focus is judged by its PID).
struct TTarget {
    QString Title;
    QString File;
    qsizetype Checked = 0;
    std::unique_ptr<QProcess> Process = std::make_unique<QProcess>();

    bool Focused(const QString& Focus) const
    {
        return Focus.startsWith(QString::number(Process->processId()) + QLatin1Char(' '));
    }
    bool HasFocus() const { return Focused(CompositorFocus()); }
    QByteArray Typed() const { return Contents(File); }

    // Started, then up to Milliseconds for the compositor to give it the focus.
    void Start(const QString& Program, const QStringList& Arguments, int Milliseconds = 30000)
    {
        Process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
        Process->start(Program, Arguments);
        WaitFor([&] { return HasFocus(); }, Milliseconds);
    }

    // A terminal (Arguments come before its command) whose `cat`, in canonical mode with iutf8,
    // writes what it receives to File, once the file is there.
    void StartTerminal(const QString& Program, const QStringList& Arguments, int Milliseconds = 30000)
    {
        const QString Cat = QStringLiteral("stty icanon iutf8 -echo; exec cat > '%1'").arg(File);
        Start(Program, Arguments + QStringList { QStringLiteral("sh"), QStringLiteral("-c"), Cat }, Milliseconds);
        WaitFor([&] { return QFile::exists(File); });
    }
    void StartXterm(int Milliseconds = 30000)
    {
        StartTerminal(QStringLiteral("xterm"), { QStringLiteral("-u8"), QStringLiteral("-T"), Title, QStringLiteral("-e") },
            Milliseconds);
    }

    // Ctrl+S from the bed's keyboard, and the file once written.
    QByteArray Saved() const
    {
        Chord("Control_L", "s");
        WaitFor([&] { return !Typed().isEmpty(); });
        QThread::msleep(300);
        return Typed();
    }
};

// The focus on Target, in the compositor's view.
inline void ExpectFocus(const TTarget& Target)
{
    const QString Focus = CompositorFocus();
    EXPECT_TRUE(Target.Focused(Focus)) << Target.Title.toStdString() << " lost the focus to: " << Focus.toStdString();
}

// The line as the NFC text that must arrive, and the clicks that type it (without its end: the
// targets end a line differently).
inline const QString PolytonicLine = QStringLiteral("Ἐν ἀρχῇ ἦν ὁ λόγος").normalized(QString::NormalizationForm_C);
inline const std::vector<TClick> PolytonicLineClicks { Shift, E, Smooth, N, Space, A, Smooth, R, X, H, IotaSubscript, Circumflex, Space, H,
    Smooth, Circumflex, N, Space, O, Rough, Space, L, O, Acute, G, O, W };

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

// Up to ten seconds for the line and its end in Target's file beyond what was checked, Settle
// milliseconds more for any bytes that should not come, then the bytes checked, and the focus.
inline void ExpectArrived(TTarget& Target, const QString& Line, int Settle = 0)
{
    const QByteArray Expected = Line.toUtf8() + '\n';
    const auto Read = [&] { return Target.Typed().mid(Target.Checked); };
    WaitFor([&] { return Read().size() >= Expected.size(); });
    QThread::msleep(std::uint32_t(Settle));
    const QByteArray Got = Read();
    ExpectBytes(Got, Expected, Target.Title.toStdString() + " got");
    Target.Checked += Got.size();
    ExpectFocus(Target);
}

// The line and then a mark taken off again, clicked into an XWayland xterm (KIVO's X11 path on
// a desktop whose native programs it serves otherwise), and the xterm still focused.
inline void ExpectTheLineInAnXterm(const TKeypadOnScreen& Keypad, TTarget& Xterm)
{
    Keypad.Click(PolytonicLineClicks);
    Keypad.Click({ Space, A, Acute, Backspace, Enter });
    ExpectArrived(Xterm, PolytonicLine + QStringLiteral(" α"));
}
