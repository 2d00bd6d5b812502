// KIVO's main routine: reads the command line, opens the keystroke backend, builds the main
// window and runs the event loop. One KIVO runs per user and display: a later start hands its
// command line to it.
#include "CommandLine.h"
#include "DesktopBehaviour.h"
#include "DesktopObserver.h"
#include "EarlyClicks.h"
#include "IBusEngineLink.h"
#include "InputBackend.h"
#include "KWinInputMethodLink.h"
#include "Language.h"
#include "LumeraGlyphs.h"
#include "OutsideInput.h"
#include "PlatformChoice.h"
#include "Resources.h"
#include "SingleInstance.h"
#include "TApplication.h"
#include "TerminationSignals.h"
#include "Unit1.h"
#include "WaylandKeypad.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <optional>
#include <string>

namespace {

// Help and version on stdout (exit 0), a bad command line on stderr (exit 2); nothing when the
// program is to run.
std::optional<int> AnswerCommandLine(const TCommandLine& CommandLine)
{
    switch (CommandLine.Action) {
    case claRun: return std::nullopt;
    case claShowHelp:
    case claShowVersion: std::printf("%s\n", qPrintable(CommandLine.Message.trimmed())); return 0;
    case claError: break;
    }
    std::fprintf(stderr, "kivo: %s\n%s\n", qPrintable(CommandLine.Message),
        qPrintable(TranslatedBeforeStart("kivo", QT_TRANSLATE_NOOP("kivo", "Try 'kivo --help' for more information."))));
    return 2;
}

// A later start's command line: the keyboard comes back to the front, without the focus, and
// takes the output it names. (The later start has already answered a bad command line.)
void TakeLaterStart(const QStringList& Arguments)
{
    Form1->setWindowState(Form1->windowState() & ~Qt::WindowMinimized);
    Form1->show();
    Form1->raise();
    const TCommandLine CommandLine = ParseCommandLine(Arguments);
    if (CommandLine.Action == claRun && CommandLine.Output)
        Form1->SetOutputMode(ResolveOutputMode(*CommandLine.Output, QFontDatabase::families()));
}

} // namespace

int main(int Argc, char** Argv)
{
    // Before the display: --help and --version work without one.
    QStringList Arguments;
    for (int Index = 0; Index < Argc; ++Index)
        Arguments << QString::fromLocal8Bit(Argv[Index]);
    const TCommandLine CommandLine = ParseCommandLine(Arguments);
    if (const std::optional<int> ExitCode = AnswerCommandLine(CommandLine))
        return *ExitCode;

    // Before the display is opened: a second KIVO must not touch the keymap the first one uses.
    TSingleInstance Instance;
    // KWin watches the input method it started and restarts it when it ends: that one stays,
    // and a KIVO already running (started by hand) makes way for it.
    const bool KWinStarted = StartedAsKWinInputMethod();
    switch (CommandLine.NewInstance ? TSingleInstance::siFirst : KWinStarted ? Instance.Replace() : Instance.Claim(Arguments)) {
    case TSingleInstance::siFirst:
        break;
    case TSingleInstance::siHandedOver:
        return 0;
    case TSingleInstance::siNoAnswer:
        ReportToTerminal(QT_TRANSLATE_NOOP("kivo", "a KIVO is already running on this display but does not answer"));
        return 1;
    }
    // Before the toolkit: without a usable display it would abort with a message of its own.
    ReportInputLayerInDesktopLanguage();
    TUserText ErrorMessage;
    TPlatform Platform = OpenPlatform(CommandLine.Platform, ErrorMessage);
    if (!Platform.Backend) {
        std::fprintf(stderr, "kivo: %s\n", qPrintable(Translated(ErrorMessage)));
        return 1;
    }
    SetInputBackend(std::move(Platform.Backend));
    int EndingSignal = 0;
    {
        TApplication App(Argc, Argv);
        // Before any window is built: every text that tr() makes is then in the desktop's language.
        InstallProgramTranslation();
        TTerminationSignals Signals;
        // Where the settings are kept: ~/.config/kivo/kivo.conf.
        if (QCoreApplication::organizationName().isEmpty()) {
            QCoreApplication::setOrganizationName(QStringLiteral("kivo"));
            QCoreApplication::setApplicationName(QStringLiteral("kivo"));
        }
        try {
            Application->Initialize();
            LoadKivoResources();
            QApplication::setWindowIcon(QIcon(QStringLiteral(":/kivo/kivo.png")));
            RegisterDisplayFonts();
            // The about and instructions windows are built when first opened.
            Application->CreateForm(Form1);
            // The command line wins over the choice remembered from the menu, for this run.
            Form1->SetOutputMode(ResolveOutputMode(CommandLine.Output.value_or(SavedOutputMode()), QFontDatabase::families()));
            // The native Wayland keypad watches its desktop itself; elsewhere the observer does.
            TWlrInputBackend* Wayland = NativeWaylandBackend();
            TDesktopObserver* Observer = Platform.Observer.get();
            const std::unique_ptr<QObject> OutsideInput = Observer ? WatchOutsideInput(Form1, *Observer) : nullptr;
            AddDesktopBehaviour(*Form1, [Observer]() -> std::optional<TRepeatTiming> {
                const std::optional<TKeyRepeatSettings> Settings = Observer ? Observer->KeyRepeat() : std::nullopt;
                if (!Settings)
                    return std::nullopt;
                return TRepeatTiming {Settings->DelayMilliseconds, Settings->IntervalMilliseconds};
            });
            const std::unique_ptr<QObject> IBusEngine = AttachIBusEngine(Form1);
            const std::unique_ptr<QObject> KWinInputMethod = AttachKWinInputMethod(Form1);
            const std::unique_ptr<QObject> Keypad = Wayland ? AttachWaylandKeypad(Form1, *Wayland) : nullptr;
            Instance.OnArguments = TakeLaterStart;
            Instance.OnQuitRequest = [] { QCoreApplication::quit(); };
            if (!CommandLine.NewInstance)
                Instance.Listen();
            const std::unique_ptr<TEarlyClicks> EarlyClicks = Observer ? std::make_unique<TEarlyClicks>(*Observer) : nullptr;
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
