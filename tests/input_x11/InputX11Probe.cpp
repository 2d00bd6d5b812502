// A small program on the X11 backend, run by the end-to-end tests as a separate process:
//   InputX11Probe open             opens the backend and ends (the error path of a program)
//   InputX11Probe idle             opens the backend, says "ready", waits to be ended
//   InputX11Probe hold             presses Shift by key code 250, says "held", waits to be killed
//   InputX11Probe hold-exit        presses Shift by key code 250 and returns from main
//   InputX11Probe type STRING      types STRING as TSendkeys does, then ends
//   InputX11Probe serve STRING FILE types STRING, says "typed 1", then watches FILE: when it
//                                  holds a number N above the times typed, types STRING again
//                                  and says "typed N"; when it holds "exit", ends
#include "InputBackend.h"
#include "Sendkeys.h"
#include "TerminationSignals.h"
#include "X11InputBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>

int main(int Argc, char** Argv)
{
    const std::string Command = Argc > 1 ? Argv[1] : "";
    TUserText Error;
    auto Backend = CreateX11InputBackend(Error);
    if (!Backend) {
        std::fprintf(stderr, "InputX11Probe: %s\n", Error.English().c_str());
        return 1;
    }
    SetInputBackend(std::move(Backend));
    QCoreApplication App(Argc, Argv);
    TTerminationSignals Signals;
    if (Command == "idle") {
        std::printf("ready\n");
        std::fflush(stdout);
        App.exec();
    } else if (Command == "hold" || Command == "hold-exit") {
        SendKeyString("\xFA");
        // The key events are on their way; a call that waits for the server's answer makes sure
        // the press has been handled before anyone is told it is held.
        GetHandleFromWindowTitle("");
        std::printf("held\n");
        std::fflush(stdout);
        if (Command == "hold")
            App.exec();
    } else if (Command == "type" && Argc > 2) {
        SendKeyCodes(Argv[2], SendKeysRawKeyBound, {});
    } else if (Command == "serve" && Argc > 3) {
        const std::string Text = Argv[2];
        const QString Control = QString::fromLocal8Bit(Argv[3]);
        int Typed = 0;
        auto TypeAgain = [&](int Count) {
            SendKeyCodes(Text, SendKeysRawKeyBound, {});
            GetHandleFromWindowTitle(""); // a round trip: the keys have been handled
            Typed = Count;
            std::printf("typed %d\n", Typed);
            std::fflush(stdout);
        };
        TypeAgain(1);
        QTimer Watch;
        QObject::connect(&Watch, &QTimer::timeout, [&] {
            QFile File(Control);
            if (!File.open(QIODevice::ReadOnly))
                return;
            const QByteArray Wanted = File.readAll().trimmed();
            if (Wanted == "exit")
                QCoreApplication::quit();
            else if (Wanted.toInt() > Typed)
                TypeAgain(Wanted.toInt());
        });
        Watch.start(5);
        App.exec();
    }
    SetInputBackend(nullptr);
    TTerminationSignals::EndBy(Signals.Received());
    return 0;
}
