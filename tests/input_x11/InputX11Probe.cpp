// A small program on the X11 backend, run by the end-to-end tests as a separate process:
//   InputX11Probe type STRING    types the key string STRING as TSendkeys does, then ends
//   InputX11Probe serve STRING   types STRING and says "typed 1"; whenever a line arrives on
//                                standard input types it again and says "typed N"; ends at the
//                                input's end
// The key string comes as UTF-8 of the Latin-1 characters of its codes, as arguments are text.
// Without a command it only opens the backend (the error path of a program).
#include "InputBackend.h"
#include "Sendkeys.h"
#include "TerminationSignals.h"
#include "X11InputBackend.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int Argc, char** Argv)
{
    TUserText Error;
    auto Backend = CreateX11InputBackend(Error);
    if (!Backend) {
        std::fprintf(stderr, "InputX11Probe: %s\n", Error.English().c_str());
        return 1;
    }
    SetInputBackend(std::move(Backend));
    QCoreApplication App(Argc, Argv);
    TTerminationSignals Signals;
    const QStringList Arguments = App.arguments();
    const std::string Text = Arguments.size() > 2 ? Arguments[2].toLatin1().toStdString() : "";
    if (Arguments.value(1) == "type") {
        SendKeyCodes(Text, SendKeysRawKeyBound, {});
    } else if (Arguments.value(1) == "serve") {
        int Typed = 0;
        auto Type = [&] {
            SendKeyCodes(Text, SendKeysRawKeyBound, {});
            // A call that waits for the server's answer: the keys have been handled before
            // anyone is told they were typed.
            GetHandleFromWindowTitle("");
            std::printf("typed %d\n", ++Typed);
            std::fflush(stdout);
        };
        Type();
        QSocketNotifier Input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&Input, &QSocketNotifier::activated, [&] {
            char Line[256];
            if (read(STDIN_FILENO, Line, sizeof Line) > 0)
                Type();
            else
                QCoreApplication::quit();
        });
        App.exec();
    }
    SetInputBackend(nullptr);
    TTerminationSignals::EndBy(Signals.Received());
    return 0;
}
