// The command line and the choice of output: what each argument list asks for, and what auto
// becomes with and without a font named Lumera.
#include "CommandLine.h"
#include "OutputMode.h"

#include <QStandardPaths>

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
        { { "--fast" }, claError, std::nullopt, "Unknown option 'fast'" },
        { { "-display", ":1" }, claError, std::nullopt, "Unknown options" },
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

TEST(OutputMode, TheChoiceIsRememberedBetweenRuns)
{
    QStandardPaths::setTestModeEnabled(true);
    SaveOutputMode(omUnicode);
    EXPECT_EQ(SavedOutputMode(), omUnicode);
    SaveOutputMode(omLumera);
    EXPECT_EQ(SavedOutputMode(), omLumera);
}
