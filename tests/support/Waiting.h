#pragma once
// What the end-to-end tests do while other programs work: run a command for what it prints,
// poll until something holds, read what a target wrote.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

// The command's output, trimmed; empty when it failed or took longer than 30 s.
inline QString RunCommand(const QString& Program, const QStringList& Arguments)
{
    QProcess Process;
    Process.start(Program, Arguments);
    if (!Process.waitForFinished(30000) || Process.exitCode() != 0)
        return {};
    return QString::fromUtf8(Process.readAllStandardOutput()).trimmed();
}

// Polls Condition every few milliseconds until it holds (true) or Milliseconds have passed.
template <typename TCondition>
bool WaitFor(TCondition Condition, int Milliseconds = 10000)
{
    QDeadlineTimer Deadline(Milliseconds);
    while (!Condition()) {
        if (Deadline.hasExpired())
            return false;
        QThread::msleep(3);
    }
    return true;
}

// The file's bytes; empty when it cannot be read (not yet written, say).
inline QByteArray Contents(const QString& Path)
{
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}
