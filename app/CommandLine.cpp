#include "CommandLine.h"

#include "Language.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace {

// The command line is read before the application object exists, so before Qt's own
// translation is installed: its texts are translated here.
QString Tr(const char* Text) { return TranslatedBeforeStart("TCommandLine", Text); }

} // namespace

TCommandLine ParseCommandLine(const QStringList& Arguments)
{
    QCommandLineParser Parser;
    Parser.setApplicationDescription(Tr(QT_TRANSLATE_NOOP("TCommandLine",
        "An on-screen keyboard for polytonic Greek: click a letter, then its breathing, accent or\n"
        "iota subscript, and KIVO types them into the program you are writing in.")));
    // Our own help and version options: Qt's add --help-all for options KIVO does not take.
    const QCommandLineOption Help({ QStringLiteral("h"), QStringLiteral("help") }, Tr(QT_TRANSLATE_NOOP("TCommandLine", "Show this help and exit.")));
    const QCommandLineOption Version({ QStringLiteral("v"), QStringLiteral("version") }, Tr(QT_TRANSLATE_NOOP("TCommandLine", "Show the version and exit.")));
    const QCommandLineOption Output(QStringLiteral("output"),
        Tr(QT_TRANSLATE_NOOP("TCommandLine", "What the keys type. unicode: the Greek letters with their marks, as Unicode "
                       "characters that every font and program can show. lumera: the 8-bit codes that the "
                       "Lumera font draws as Greek. auto: lumera where that font is installed, else unicode. "
                       "Without this option, the choice last made in KIVO's menu holds (else auto).")),
        QStringLiteral("unicode|lumera|auto"));
    const QCommandLineOption NewInstance(QStringLiteral("new-instance"),
        Tr(QT_TRANSLATE_NOOP("TCommandLine", "Open a keyboard of its own, even where KIVO runs already on this display "
                       "(otherwise a later start brings the running one to the front).")));
    const QCommandLineOption Platform(QStringLiteral("platform"),
        Tr(QT_TRANSLATE_NOOP("TCommandLine", "Where KIVO types. wayland: natively on a wlroots desktop (sway and its kin), "
                       "into every program there. x11: through the X server, on a Wayland desktop through "
                       "XWayland (its programs only). Without this option, the session decides.")),
        QStringLiteral("x11|wayland"));
    // What ibus-daemon passes when it starts KIVO for its engine: the engine joins whichever
    // KIVO runs (this start hands over to it) or comes with the new one.
    QCommandLineOption IBus(QStringLiteral("ibus"), QStringLiteral("Started by ibus-daemon for KIVO's engine."));
    IBus.setFlags(QCommandLineOption::HiddenFromHelp);
    Parser.addOptions({ Help, Version, Output, NewInstance, Platform, IBus });

    TCommandLine Result;
    if (!Parser.parse(Arguments)) {
        Result.Action = claError;
        // Qt's own wording stays English where Qt's translations are not installed.
        const QStringList Unknown = Parser.unknownOptionNames();
        if (Unknown.size() == 1)
            Result.Message = Tr(QT_TRANSLATE_NOOP("TCommandLine", "unknown option '%1'.")).arg(Unknown.constFirst());
        else if (Unknown.size() > 1)
            Result.Message = Tr(QT_TRANSLATE_NOOP("TCommandLine", "unknown options: %1.")).arg(Unknown.join(QStringLiteral(", ")));
        else
            Result.Message = Parser.errorText();
        return Result;
    }
    if (!Parser.positionalArguments().isEmpty()) {
        Result.Action = claError;
        Result.Message = Tr(QT_TRANSLATE_NOOP("TCommandLine", "unexpected argument '%1': KIVO opens no files.")).arg(Parser.positionalArguments().constFirst());
        return Result;
    }
    if (Parser.isSet(Help)) {
        Result.Action = claShowHelp;
        // Qt names the program by the path it was started as, or not at all before the
        // application object exists.
        // Qt's own headings are translated with the rest.
        QString Text = Parser.helpText();
        Text.replace(QStringLiteral("\nOptions:\n"), QLatin1Char('\n') + Tr(QT_TRANSLATE_NOOP("TCommandLine", "Options:")) + QLatin1Char('\n'));
        Result.Message = Tr(QT_TRANSLATE_NOOP("TCommandLine", "Usage: kivo [options]")) + Text.mid(Text.indexOf(QLatin1Char('\n')));
        return Result;
    }
    if (Parser.isSet(Version)) {
        Result.Action = claShowVersion;
        Result.Message = QStringLiteral("kivo %1").arg(QStringLiteral(KIVO_VERSION));
        return Result;
    }
    Result.NewInstance = Parser.isSet(NewInstance);
    if (Parser.isSet(Platform)) {
        const QString Name = Parser.value(Platform);
        if (Name == QLatin1String("x11") || Name == QLatin1String("wayland")) {
            Result.Platform = Name == QLatin1String("x11") ? pnX11 : pnWayland;
        } else {
            Result.Action = claError;
            Result.Message = Tr(QT_TRANSLATE_NOOP("TCommandLine", "--platform takes x11 or wayland, not '%1'.")).arg(Name);
            return Result;
        }
    }
    if (Parser.isSet(Output)) {
        Result.Output = ParseOutputMode(Parser.value(Output));
        if (!Result.Output) {
            Result.Action = claError;
            Result.Message = Tr(QT_TRANSLATE_NOOP("TCommandLine", "--output takes unicode, lumera or auto, not '%1'.")).arg(Parser.value(Output));
        }
    }
    return Result;
}
