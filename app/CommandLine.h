#pragma once
// KIVO's command line. Parsing only: printing and exiting are the main routine's, so that the
// same parser serves the arguments a second launch hands to the running KIVO.
#include "OutputMode.h"

#include <QString>
#include <QStringList>

#include <optional>

enum TCommandLineAction { claRun, claShowHelp, claShowVersion, claError };
// Which window system KIVO types through: X11 (also XWayland's), or a Wayland desktop's own.
enum TPlatformName { pnX11, pnWayland };

struct TCommandLine {
    TCommandLineAction Action = claRun;
    // Set when --output was given; it wins over the remembered choice for this run.
    std::optional<TOutputMode> Output;
    // --new-instance: a keyboard of its own even where one runs already on this display.
    bool NewInstance = false;
    // --platform: set when the user chose; otherwise the session decides.
    std::optional<TPlatformName> Platform;
    // The help text, the version line, or the error (one line, without the program's name).
    QString Message;
};

// Arguments as main receives them, the program's name first.
TCommandLine ParseCommandLine(const QStringList& Arguments);
