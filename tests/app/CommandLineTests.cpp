// The command line and the choice of output: what each argument list asks for, what auto
// becomes with and without a font named Lumera, and what a start that ends early writes.
#include "CommandLine.h"
#include "OutputMode.h"

#include <QProcess>

#include <gtest/gtest.h>

TEST(CommandLine, EachArgumentListAsksForOneThing)
{
    const struct {
        QStringList Arguments;
        TCommandLineAction Action;
        std::optional<TOutputMode> Output;
        const char* MessageHas;
    } Cases[] = {
        { {}, claRun, std::nullopt, "" },
        { { "--output=unicode" }, claRun, omUnicode, "" },
        { { "--output", "lumera" }, claRun, omLumera, "" },
        { { "--output=auto" }, claRun, omAuto, "" },
        { { "--help" }, claShowHelp, std::nullopt, "--output <unicode|lumera|auto>" },
        { { "-h", "--output=bogus" }, claShowHelp, std::nullopt, "Usage: kivo" },
        { { "--version" }, claShowVersion, std::nullopt, "kivo 1." },
        { { "--output=greek" }, claError, std::nullopt, "not 'greek'" },
        { { "--output" }, claError, std::nullopt, "Missing value after '--output'" },
        { { "--fast" }, claError, std::nullopt, "unknown option 'fast'" },
        { { "-display", ":1" }, claError, std::nullopt, "unknown options: d, i, s" },
        { { "notes.txt" }, claError, std::nullopt, "'notes.txt'" },
    };
    for (const auto& Case : Cases) {
        const TCommandLine Parsed = ParseCommandLine(QStringList { QStringLiteral("kivo") } + Case.Arguments);
        const std::string Name = Case.Arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(Parsed.Action, Case.Action) << Name;
        EXPECT_EQ(Parsed.Output, Case.Output) << Name;
        EXPECT_TRUE(Parsed.Message.contains(QLatin1String(Case.MessageHas))) << Name << ": " << Parsed.Message.toStdString();
    }
}

TEST(OutputMode, AutoIsLumeraOnlyWhereTheFontIsInstalled)
{
    const QStringList WithLumera { QStringLiteral("DejaVu Sans"), QStringLiteral("lumera") };
    const QStringList Without { QStringLiteral("DejaVu Sans"), QStringLiteral("Lumera Sans") };
    EXPECT_EQ(ResolveOutputMode(omAuto, WithLumera), omLumera);
    EXPECT_EQ(ResolveOutputMode(omAuto, Without), omUnicode);
    EXPECT_EQ(ResolveOutputMode(omUnicode, WithLumera), omUnicode);
    EXPECT_EQ(ResolveOutputMode(omLumera, Without), omLumera);
}

#ifdef KIVO_PROGRAM
// In the desktop's language, and as ever in English: a bad command line, and a display that
// cannot be opened (the input layer's message, matched by its wording).
TEST(CommandLine, AStartThatEndsEarlySaysWhyInTheDesktopsLanguage)
{
    const struct {
        const char* Language;
        QStringList Arguments;
        int ExitCode;
        const char* Says;
    } Cases[] = {
        { "C", { "--output=x" }, 2, "kivo: --output takes unicode, lumera or auto, not 'x'.\nTry 'kivo --help' for more information.\n" },
        { "el_GR.UTF-8", { "--output=x" }, 2, "kivo: το --output δέχεται unicode, lumera ή auto, όχι «x».\nΓια περισσότερες πληροφορίες δώστε «kivo --help».\n" },
        { "C", { "--platform=x11" }, 1, "kivo: cannot open display :4093: is an X server running and DISPLAY set?\n" },
        { "el_GR.UTF-8", { "--platform=x11" }, 1, "kivo: δεν ανοίγει η οθόνη :4093: τρέχει διακομιστής X και έχει οριστεί η DISPLAY;\n" },
    };
    for (const auto& Case : Cases) {
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        for (const char* Unset : { "LANGUAGE", "LC_ALL", "LC_MESSAGES", "WAYLAND_DISPLAY" })
            Environment.remove(QLatin1String(Unset));
        Environment.insert(QStringLiteral("LANG"), QLatin1String(Case.Language));
        Environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4093"));
        QProcess Kivo;
        Kivo.setProcessEnvironment(Environment);
        Kivo.start(QStringLiteral(KIVO_PROGRAM), QStringList { QStringLiteral("--new-instance") } + Case.Arguments);
        ASSERT_TRUE(Kivo.waitForFinished(10000));
        EXPECT_EQ(Kivo.exitCode(), Case.ExitCode) << Case.Says;
        EXPECT_EQ(QString::fromUtf8(Kivo.readAllStandardError()).toStdString(), Case.Says);
    }
}
#endif
