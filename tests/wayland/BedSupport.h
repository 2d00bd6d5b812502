#pragma once
// Running the Wayland test bed's commands (wl-click, wl-key, wl-focused ...) and waiting on what
// they report, for the end-to-end tests of every Wayland desktop.
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QThread>

#include <initializer_list>
#include <memory>

// The command's output, trimmed; empty when it failed or took longer than 30 s.
inline QString RunCommand(const QString& Program, const QStringList& Arguments)
{
    QProcess Process;
    Process.start(Program, Arguments);
    if (!Process.waitForFinished(30000) || Process.exitCode() != 0)
        return {};
    return QString::fromUtf8(Process.readAllStandardOutput()).trimmed();
}

template <typename TCondition>
bool WaitFor(TCondition Condition, int Milliseconds = 10000)
{
    QDeadlineTimer Deadline(Milliseconds);
    while (!Condition()) {
        if (Deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Keys of the bed's keyboard, by their keysym names, one after the other.
inline void Keys(std::initializer_list<const char*> Names)
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

// An XWayland xterm titled Title whose `cat`, in canonical mode with iutf8, writes what it
// receives to File: xterm's arguments.
inline QStringList XtermArguments(const QString& Title, const QString& File)
{
    return { QStringLiteral("-u8"), QStringLiteral("-T"), Title, QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"),
        QStringLiteral("stty icanon iutf8 -echo; exec cat > '%1'").arg(File) };
}

inline QByteArray Contents(const QString& Path)
{
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

// Ends the programs a test started, if they run, and forgets them.
inline void EndAll(std::initializer_list<std::unique_ptr<QProcess>*> Processes)
{
    for (std::unique_ptr<QProcess>* Process : Processes) {
        if (*Process) {
            (*Process)->terminate();
            (*Process)->waitForFinished(5000);
        }
        Process->reset();
    }
}
