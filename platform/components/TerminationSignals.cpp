#include "TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <thread>

namespace {

constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP};
int Pipe[2] = {-1, -1};

void WriteSignal(int Number)
{
    const int SavedErrno = errno;
    const unsigned char Byte = static_cast<unsigned char>(Number);
    [[maybe_unused]] const auto Written = write(Pipe[1], &Byte, 1);
    errno = SavedErrno;
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject* Parent)
    : QObject(Parent)
{
    if (pipe2(Pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    Notifier = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &TTerminationSignals::Read);
    struct sigaction Action {};
    Action.sa_handler = WriteSignal;
    Action.sa_flags = SA_RESTART;
    sigemptyset(&Action.sa_mask);
    for (const int Number : EndingSignals)
        sigaction(Number, &Action, nullptr);
}

TTerminationSignals::~TTerminationSignals()
{
    // A signal from here on takes its default course, as if this object never existed; the
    // watchdog, if one runs, still ends a clean-up that hangs.
    for (const int Number : EndingSignals)
        if (Number != Signal)
            signal(Number, SIG_DFL);
    delete Notifier;
    if (Pipe[0] >= 0) {
        close(Pipe[0]);
        close(Pipe[1]);
        Pipe[0] = Pipe[1] = -1;
    }
}

void TTerminationSignals::Read()
{
    unsigned char Byte = 0;
    while (read(Pipe[0], &Byte, 1) == 1) {
        if (Signal)
            continue;
        Signal = Byte;
        const int Number = Signal;
        std::thread([Number] {
            std::this_thread::sleep_for(Grace);
            EndBy(Number);
        }).detach();
        QCoreApplication::quit();
    }
}

void TTerminationSignals::EndBy(int Signal)
{
    if (!Signal)
        return;
    signal(Signal, SIG_DFL);
    kill(getpid(), Signal);
    // A default action that does not end the process cannot reach here for these signals.
    _exit(128 + Signal);
}
