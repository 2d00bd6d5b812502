// KIVO's main routine: opens the keystroke backend, builds the three windows and runs the
// event loop. It takes no arguments and reads no configuration.
#include "EarlyClicks.h"
#include "InputBackend.h"
#include "LumeraGlyphs.h"
#include "Resources.h"
#include "TApplication.h"
#include "Unit1.h"
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
    {
        TApplication App(Argc, Argv);
        try {
            Application->Initialize();
            LoadKivoResources();
            QApplication::setWindowIcon(QIcon(QStringLiteral(":/kivo/kivo.png")));
            RegisterDisplayFonts();
            // The about and instructions windows are built when first opened.
            Application->CreateForm(Form1);
            const TEarlyClicks EarlyClicks;
            Application->Run();
        } catch (const std::exception& Error) {
            Application->ShowException(Error);
        }
    }
    // Closing the backend releases any key still held.
    SetInputBackend(nullptr);
    return 0;
}
