#include "X11SignalGuard.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>

TX11SignalGuard::TX11SignalGuard(std::function<void()> OnSignal)
    : OnSignal(std::move(OnSignal))
{
    sigemptyset(&Signals);
    sigaddset(&Signals, SIGINT);
    sigaddset(&Signals, SIGTERM);
    sigaddset(&Signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &Signals, &PreviousMask);
    SignalFd = signalfd(-1, &Signals, SFD_CLOEXEC);
    StopFd = eventfd(0, EFD_CLOEXEC);
    if (SignalFd >= 0 && StopFd >= 0)
        Watcher = std::thread([this] { Watch(); });
}

TX11SignalGuard::~TX11SignalGuard()
{
    if (Watcher.joinable()) {
        const std::uint64_t One = 1;
        [[maybe_unused]] auto Written = write(StopFd, &One, sizeof One);
        Watcher.join();
    }
    if (SignalFd >= 0)
        close(SignalFd);
    if (StopFd >= 0)
        close(StopFd);
    // A signal that came while the keys were being released at shutdown is delivered now.
    pthread_sigmask(SIG_SETMASK, &PreviousMask, nullptr);
}

void TX11SignalGuard::Watch()
{
    pollfd Fds[2] = {{SignalFd, POLLIN, 0}, {StopFd, POLLIN, 0}};
    for (;;) {
        if (poll(Fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (Fds[1].revents)
            return;
        signalfd_siginfo Info {};
        if (read(SignalFd, &Info, sizeof Info) != sizeof Info)
            continue;
        OnSignal();
        const int Number = int(Info.ssi_signo);
        signal(Number, SIG_DFL);
        sigset_t Only;
        sigemptyset(&Only);
        sigaddset(&Only, Number);
        pthread_sigmask(SIG_UNBLOCK, &Only, nullptr);
        raise(Number);
        // A signal whose default is not to end the program cannot reach here for these three.
        _exit(128 + Number);
    }
}
