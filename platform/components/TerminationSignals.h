#pragma once
// Lets SIGINT, SIGTERM and SIGHUP end the program through its event loop, so that it ends as
// after a normal quit: the input backend releases its keys and gives its spare keys back. The
// handler only writes the signal's number into a pipe; a socket notifier reads it in the event
// loop, which quits. Should the clean-up hang (a display server that stops answering), a
// watchdog ends the process by the signal two seconds later. No signal is ever blocked, so no
// mask is inherited by child processes.
//
//   TTerminationSignals Signals;   // after the application object
//   ... run the event loop, clean up ...
//   TTerminationSignals::EndBy(Signals.Received());   // dies of the signal, if there was one
#include <QObject>

#include <chrono>

class QSocketNotifier;

class TTerminationSignals : public QObject {
public:
    static constexpr auto Grace = std::chrono::seconds(2);

    explicit TTerminationSignals(QObject* Parent = nullptr);
    ~TTerminationSignals() override;

    // The signal that ended the event loop, 0 if none did.
    int Received() const { return Signal; }
    // Ends the process by Signal's default action; does nothing for 0.
    static void EndBy(int Signal);

private:
    void Read();

    QSocketNotifier* Notifier = nullptr;
    int Signal = 0;
};
