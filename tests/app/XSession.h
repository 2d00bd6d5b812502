#pragma once
// What the end-to-end tests of the program ask of the X server they run on: commands run to
// their end, windows found by title, their bounds as the server and the window manager have
// them. Each test program runs under scripts/with-x --wm.
#include <QDeadlineTimer>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThread>

inline const char* const MainTitle = "Lumera On-Screen Keyboard";

// Runs a command to its end and returns what it printed; empty if it failed.
inline QString RunCommand(const QString& Program, const QStringList& Arguments)
{
    QProcess Process;
    Process.start(Program, Arguments);
    if (!Process.waitForFinished(10000) || Process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(Process.readAllStandardOutput()).trimmed();
}

template <typename TCondition>
inline bool WaitFor(TCondition Condition, int Milliseconds = 5000)
{
    QDeadlineTimer Deadline(Milliseconds);
    while (!Condition()) {
        if (Deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

inline QString FindWindow(const QString& Title)
{
    return RunCommand(QStringLiteral("xdotool"), { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                              QStringLiteral("^") + QRegularExpression::escape(Title) + QStringLiteral("$") })
        .section(QLatin1Char('\n'), 0, 0);
}

inline QString FocusedWindow() { return RunCommand(QStringLiteral("xdotool"), { QStringLiteral("getwindowfocus") }); }

// The client area in root coordinates, as the X server has it.
inline QRect ClientBounds(const QString& Window)
{
    const QString Info = RunCommand(QStringLiteral("xwininfo"), { QStringLiteral("-id"), Window });
    auto Field = [&](const char* Name) {
        const QRegularExpression Pattern(QString::fromLatin1(Name) + QStringLiteral(":\\s+(-?\\d+)"));
        return Pattern.match(Info).captured(1).toInt();
    };
    return QRect(Field("Absolute upper-left X"), Field("Absolute upper-left Y"), Field("Width"), Field("Height"));
}

// The window manager's frame around a window: left, right, top, bottom.
inline QMargins FrameExtents(const QString& Window)
{
    const QString Extents = RunCommand(QStringLiteral("xprop"), { QStringLiteral("-id"), Window, QStringLiteral("_NET_FRAME_EXTENTS") });
    const QStringList Numbers = Extents.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    if (Numbers.size() != 4)
        return {};
    return QMargins(Numbers[0].trimmed().toInt(), Numbers[2].trimmed().toInt(), Numbers[1].trimmed().toInt(),
        Numbers[3].trimmed().toInt());
}

inline QRect OuterBounds(const QString& Window) { return ClientBounds(Window).marginsAdded(FrameExtents(Window)); }

inline QSize ScreenSize()
{
    const QString Info = RunCommand(QStringLiteral("xwininfo"), { QStringLiteral("-root") });
    const QRegularExpression Width(QStringLiteral("Width:\\s+(\\d+)")), Height(QStringLiteral("Height:\\s+(\\d+)"));
    return QSize(Width.match(Info).captured(1).toInt(), Height.match(Info).captured(1).toInt());
}

