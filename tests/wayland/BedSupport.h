#pragma once
// Running the Wayland test bed's commands (wl-click, wl-key, wl-focused ...) and waiting on what
// they report, for the end-to-end tests of every Wayland desktop.
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

// The command's output, trimmed; empty when it failed or took longer than 30 s. ExitCode, when
// given, gets its status (-1: it did not finish).
inline QString RunCommand(const QString& Program, const QStringList& Arguments, int* ExitCode = nullptr)
{
    QProcess Process;
    Process.start(Program, Arguments);
    const bool Finished = Process.waitForFinished(30000);
    if (ExitCode)
        *ExitCode = Finished ? Process.exitCode() : -1;
    if (!Finished || Process.exitCode() != 0)
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
