#pragma once
// Lets the program end by SIGINT, SIGTERM or SIGHUP without leaving a key held down. The
// signals are blocked in the creating thread before any other thread exists (so every later
// thread inherits the block) and read through a signalfd by a thread of our own, which runs
// OnSignal and then lets the signal take its default course: the program dies of it as it
// would have without us, only with the keyboard put back in order first.
#include <functional>
#include <thread>

#include <signal.h>

class TX11SignalGuard {
public:
    // OnSignal runs on the guard's thread and must not return control to the program; it
    // should take whatever lock keeps other threads from pressing keys and keep it.
    explicit TX11SignalGuard(std::function<void()> OnSignal);
    ~TX11SignalGuard();
    TX11SignalGuard(const TX11SignalGuard&) = delete;
    TX11SignalGuard& operator=(const TX11SignalGuard&) = delete;

private:
    void Watch();

    std::function<void()> OnSignal;
    sigset_t Signals {};
    sigset_t PreviousMask {};
    int SignalFd = -1;
    int StopFd = -1;
    std::thread Watcher;
};
