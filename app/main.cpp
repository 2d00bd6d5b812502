// KIVO's main routine: opens the keystroke backend, builds the three windows and runs the
// event loop. It takes no arguments and reads no configuration.
#include "Abox.h"
#include "InputBackend.h"
#include "LumeraGlyphs.h"
#include "Resources.h"
#include "TApplication.h"
#include "TerminationSignals.h"
#include "Unit1.h"
#include "Unit4.h"
#include "X11InputBackend.h"

#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

int main(int Argc, char** Argv)
{
    // The keys are typed through X11, and the windows' focus policy is X11's: the windows go
    // to the same X server, through XWayland on a Wayland desktop.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    // Before the toolkit: without a usable display it would abort with a message of its own.
    std::string ErrorMessage;
    std::unique_ptr<TInputBackend> Backend = CreateX11InputBackend(ErrorMessage);
    if (!Backend) {
        std::fprintf(stderr, "kivo: %s\n", ErrorMessage.c_str());
        return 1;
    }
    SetInputBackend(std::move(Backend));
    int EndingSignal = 0;
    {
        TApplication App(Argc, Argv);
        TTerminationSignals Signals;
        try {
            Application->Initialize();
            LoadKivoResources();
            QApplication::setWindowIcon(QIcon(QStringLiteral(":/kivo/kivo.png")));
            RegisterDisplayFonts();
            Application->CreateForm(Form1);
            Application->CreateForm(Form2);
            Application->CreateForm(Form4);
            Application->Run();
        } catch (const std::exception& Error) {
            Application->ShowException(Error);
        }
        EndingSignal = Signals.Received();
    }
    // Closing the backend releases any key still held and gives the spare keys back.
    SetInputBackend(nullptr);
    TTerminationSignals::EndBy(EndingSignal);
    return 0;
}
