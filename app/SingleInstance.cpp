#include "SingleInstance.h"

#include "Language.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QRegularExpression>
#include <QThread>

#include <cstdio>
#include <unistd.h>

namespace {

// Written by the later start before its arguments; the running one answers with Accepted.
constexpr quint32 Greeting = 0x4B49564F; // "KIVO"
// Written instead by a later start that takes the running one's place: it is to quit.
constexpr quint32 QuitGreeting = 0x4B495651; // "KIVQ"
constexpr char Accepted = 'K';
// Far more than any command line; a larger message is not one of ours.
constexpr qint64 LargestMessage = 256 * 1024;

// $XDG_RUNTIME_DIR, or else a directory of the user's own under /tmp, private to them. Empty
// when that one belongs to someone else: no one else may listen or lock in the user's name.
QString RuntimeDirectory()
{
    const QString Runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!Runtime.isEmpty())
        return Runtime;
    const QString Directory = QDir::tempPath() + QStringLiteral("/kivo-%1").arg(::getuid());
    QDir().mkpath(Directory);
    QFile::setPermissions(Directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QFileInfo Info(Directory);
    if (!Info.isDir() || Info.isSymLink() || Info.ownerId() != ::getuid())
        return {};
    return Directory;
}

} // namespace

TSingleInstance::TSingleInstance(QObject* Parent)
    : QObject(Parent)
{
    const QString Directory = RuntimeDirectory();
    if (Directory.isEmpty()) {
        ReportToTerminal(QT_TRANSLATE_NOOP("kivo", "no private runtime directory (XDG_RUNTIME_DIR): a second start will open a second keyboard"));
        return;
    }
    const QString Base = Directory + QLatin1Char('/') + InstanceName();
    SocketPath = Base + QStringLiteral(".socket");
    Lock = std::make_unique<QLockFile>(Base + QStringLiteral(".lock"));
    // A KIVO runs for days: its lock is never stale by age, only when its process is gone.
    Lock->setStaleLockTime(0);
}

QString TSingleInstance::InstanceName()
{
    // ":0", ":0.0" and "unix:0" name the same display.
    QString Display = qEnvironmentVariable("DISPLAY");
    Display.remove(QRegularExpression(QStringLiteral("\\.\\d+$")));
    if (Display.startsWith(QLatin1String("unix:")))
        Display.remove(0, 4);
    Display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return QStringLiteral("kivo-%1-%2").arg(::getuid()).arg(Display);
}

TSingleInstance::TStart TSingleInstance::Claim(const QStringList& Arguments, int TimeoutMilliseconds)
{
    // The lock decides; the socket only carries the message. The running one may have taken
    // the lock and not yet be listening: it is asked again until the time is up.
    if (!Lock)
        return siFirst;
    const QDeadlineTimer Deadline(TimeoutMilliseconds);
    while (true) {
        if (Lock->tryLock(0))
            return siFirst;
        if (HandOver(Greeting, Arguments, 500))
            return siHandedOver;
        if (Deadline.hasExpired())
            return siNoAnswer;
        QThread::msleep(50);
    }
}

TSingleInstance::TStart TSingleInstance::Replace(int TimeoutMilliseconds)
{
    if (!Lock)
        return siFirst;
    const QDeadlineTimer Deadline(TimeoutMilliseconds);
    bool Asked = false;
    while (true) {
        if (Lock->tryLock(0))
            return siFirst;
        // Once it has answered, it is on its way out: only the lock is waited for.
        if (!Asked)
            Asked = HandOver(QuitGreeting, {}, 500);
        if (Deadline.hasExpired())
            return siNoAnswer;
        QThread::msleep(50);
    }
}

bool TSingleInstance::HandOver(quint32 Kind, const QStringList& Arguments, int TimeoutMilliseconds) const
{
    QLocalSocket Socket;
    Socket.connectToServer(SocketPath);
    if (!Socket.waitForConnected(TimeoutMilliseconds))
        return false;
    QByteArray Message;
    QDataStream Out(&Message, QIODevice::WriteOnly);
    Out.setVersion(QDataStream::Qt_6_0);
    Out << Kind << Arguments;
    Socket.write(Message);
    if (!Socket.waitForBytesWritten(TimeoutMilliseconds))
        return false;
    while (Socket.bytesAvailable() < 1) {
        if (!Socket.waitForReadyRead(TimeoutMilliseconds))
            return false;
    }
    char Answer = 0;
    return Socket.getChar(&Answer) && Answer == Accepted;
}

bool TSingleInstance::Listen()
{
    if (Server || !Lock)
        return Server;
    Server = new QLocalServer(QCoreApplication::instance());
    Server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket found is one that a killed KIVO left behind.
    QLocalServer::removeServer(SocketPath);
    if (!Server->listen(SocketPath)) {
        ReportToTerminal(QT_TRANSLATE_NOOP("kivo", "cannot listen on %1: %2; a second start will open a second keyboard"),
            { SocketPath, Server->errorString() });
        return false;
    }
    connect(Server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* Connection = Server->nextPendingConnection()) {
            connect(Connection, &QLocalSocket::disconnected, Connection, &QObject::deleteLater);
            connect(Connection, &QLocalSocket::readyRead, this, [this, Connection] { Receive(Connection); });
        }
    });
    return true;
}

void TSingleInstance::Receive(QLocalSocket* Connection)
{
    if (Connection->bytesAvailable() > LargestMessage) {
        Connection->abort();
        return;
    }
    QDataStream In(Connection);
    In.setVersion(QDataStream::Qt_6_0);
    In.startTransaction();
    quint32 Received = 0;
    QStringList Arguments;
    In >> Received >> Arguments;
    if (In.status() == QDataStream::ReadPastEnd) {
        In.rollbackTransaction(); // the rest is still on its way
        return;
    }
    if (!In.commitTransaction() || (Received != Greeting && Received != QuitGreeting)) {
        Connection->abort();
        return;
    }
    Connection->write(&Accepted, 1);
    Connection->flush();
    Connection->disconnectFromServer();
    if (Received == QuitGreeting) {
        if (OnQuitRequest)
            OnQuitRequest();
        return;
    }
    if (OnArguments)
        OnArguments(Arguments);
}
