// A small program on the X11 backend, run by the end-to-end tests as a separate process:
//   InputX11Probe open             opens the backend and ends (the error path of a program)
//   InputX11Probe hold             presses Shift by key code 250, says "held", waits to be killed
//   InputX11Probe hold-exit        presses Shift by key code 250 and returns from main
//   InputX11Probe type STRING      types STRING as TSendkeys does, then ends
#include "Input.h"
#include "InputBackend.h"
#include "Sendkeys.h"
#include "TerminationSignals.h"
#include "X11InputBackend.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <string>

int main(int Argc, char** Argv)
{
    const std::string Command = Argc > 1 ? Argv[1] : "";
    std::string Error;
    auto Backend = CreateX11InputBackend(Error);
    if (!Backend) {
        std::fprintf(stderr, "InputX11Probe: %s\n", Error.c_str());
        return 1;
    }
    SetInputBackend(std::move(Backend));
    QCoreApplication App(Argc, Argv);
    TTerminationSignals Signals;
    if (Command == "hold" || Command == "hold-exit") {
        SendKeyString("\xFA");
        // The key events are on their way; a call that waits for the server's answer makes sure
        // the press has been handled before anyone is told it is held.
        FindWindowA(nullptr, "");
        std::printf("held\n");
        std::fflush(stdout);
        if (Command == "hold")
            App.exec();
    } else if (Command == "type" && Argc > 2) {
        SendKeyCodes(Argv[2], SendKeysRawKeyBound, {});
    }
    SetInputBackend(nullptr);
    TTerminationSignals::EndBy(Signals.Received());
    return 0;
}
