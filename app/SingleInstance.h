#pragma once
// One KIVO per user and X display. The first one takes a lock and listens on a local socket,
// both named after the user and the display, in the user's private runtime directory; a later
// one hands its command line to it and ends. A lock or socket left behind by a KIVO that was
// killed is taken over: the lock records its owner's process, which no longer runs.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TSingleInstance : public QObject {
    Q_OBJECT

public:
    enum TStart { siFirst, siHandedOver, siNoAnswer };

    // Needs no application object: it is asked before the program opens the display.
    explicit TSingleInstance(QObject* Parent = nullptr);

    // siFirst: no other KIVO runs here, and this one holds the lock from now on. siHandedOver:
    // the running one took Arguments. siNoAnswer: one runs but took nothing within TimeoutMs.
    TStart Claim(const QStringList& Arguments, int TimeoutMilliseconds = 5000);
    // Asks a running KIVO to quit and takes its place: siFirst once this one holds the lock,
    // siNoAnswer when the running one is still there after TimeoutMs.
    TStart Replace(int TimeoutMilliseconds = 5000);

    // Starts taking the command lines of later starts; call once the application object exists.
    // False, with a line on stderr, when the socket cannot be made.
    bool Listen();

    // Called with each later start's arguments (program name first), on the event loop.
    std::function<void(const QStringList& Arguments)> OnArguments;
    // Called when a later start takes this one's place (Replace): this one is to quit.
    std::function<void()> OnQuitRequest;

    // The user's and display's name for the lock and the socket, without a directory.
    static QString InstanceName();

private:
    bool HandOver(quint32 Kind, const QStringList& Arguments, int TimeoutMilliseconds) const;
    void Receive(class QLocalSocket* Connection);

    QString SocketPath;
    std::unique_ptr<QLockFile> Lock;
    // Owned by the application object: it goes with the event loop it needs.
    QPointer<QLocalServer> Server;
};
