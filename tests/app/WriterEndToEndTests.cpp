// LibreOffice Writer, the scholars' own editor, as the target of Unicode output: three lines of
// polytonic Greek clicked on the keypad and the accent toolbar, the document saved with the
// editor's save shortcut and read back as text through the office's own converter. Writer
// runs on a profile of its own in which nothing changes what is typed (no autocorrection, no
// word completion, no tip of the day).
#include "EndToEndSupport.h"
#include "KeyCaptions.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <vector>

namespace {

// The lines as typed, in a notation of their own: a Latin letter is its key (the keypad puts
// the Greek letters at a Greek typewriter's places: w is final sigma, u theta, v omega, y
// upsilon), * clicks Shift, < Backspace, a space the space bar, and the marks after a letter
// click their accent buttons: ) smooth, ( rough, / acute, = circumflex, | iota subscript,
// + diaeresis. Backspace right after a mark takes that mark off.
struct TLine {
    const char* Clicks;
    const char16_t* Shows;
};
const TLine Lines[] = {
    { "e)n a)rxh|= h)=n o( lo/gow", u"ἐν ἀρχῇ ἦν ὁ λόγος" },
    { "*mvy+sh=w tv|= uev|=", u"Μωϋσῆς τῷ θεῷ" },
    { "a)i+/dio/<w oi)/<=kow", u"ἀΐδιος οἶκος" },
};

// Accent buttons by toolbar row and column from 0.
std::optional<std::pair<int, int>> AccentOf(char Mark)
{
    switch (Mark) {
    case ')':
        return std::pair { 0, 0 };
    case '(':
        return std::pair { 0, 1 };
    case '/':
        return std::pair { 0, 2 };
    case '=':
        return std::pair { 0, 3 };
    case '|':
        return std::pair { 1, 2 };
    case '+':
        return std::pair { 3, 2 };
    default:
        return std::nullopt;
    }
}

constexpr int ShiftSlot = 2, EnterSlot = 4, BackspaceSlot = 5, SpaceSlot = 6;

std::vector<TPacedClick> ClicksOf(const TKeypadPoints& Keypad, const char* Text)
{
    std::vector<TPacedClick> Clicks;
    for (const char* Each = Text; *Each; ++Each) {
        const std::string Key(1, *Each);
        QPoint At;
        if (const auto Accent = AccentOf(*Each))
            At = Keypad.Accent(Accent->first, Accent->second);
        else if (*Each == '*' || *Each == '<' || *Each == ' ')
            At = Keypad.SpecialKey(*Each == '*' ? ShiftSlot : *Each == '<' ? BackspaceSlot : SpaceSlot);
        for (int Row = 3; Row <= 5 && At.isNull(); ++Row) {
            const TCaptionTable Captions = AlphaRowCaptions(Row, false, false);
            for (int Column = 1; Column <= int(Captions.size()) && At.isNull(); ++Column)
                if (CaptionOf(Captions, Column) == Key)
                    At = Keypad.Key(Row, Column);
        }
        EXPECT_FALSE(At.isNull()) << "no key for '" << Key << "'";
        Clicks.push_back({ At, 0 });
    }
    return Clicks;
}

// A Writer profile with what would change the typed text turned off.
void WriteProfile(const QString& Profile)
{
    QDir().mkpath(Profile + QStringLiteral("/user"));
    QFile Settings(Profile + QStringLiteral("/user/registrymodifications.xcu"));
    ASSERT_TRUE(Settings.open(QIODevice::WriteOnly));
    QByteArray Items;
    for (const auto& [Path, Name] : { std::pair { "org.openoffice.Office.Common/Misc", "ShowTipOfTheDay" },
             std::pair { "org.openoffice.Office.Common/Misc", "FirstRun" },
             std::pair { "org.openoffice.Office.Common/AutoCorrect", "CapitalAtStartSentence" },
             std::pair { "org.openoffice.Office.Common/AutoCorrect", "UseReplacementTable" },
             std::pair { "org.openoffice.Office.Writer/AutoFunction/Format/ByInput", "Enable" },
             std::pair { "org.openoffice.Office.Writer/AutoFunction/Completion", "Enable" } })
        Items += QByteArrayLiteral("<item oor:path=\"/") + Path + "\"><prop oor:name=\"" + Name
            + "\" oor:op=\"fuse\"><value>false</value></prop></item>\n";
    Settings.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
                   "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
        + Items + "</oor:items>\n");
}

QStringList OfficeArguments(const QString& Profile)
{
    return { QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(Profile).toString(), QStringLiteral("--norestore"),
        QStringLiteral("--nologo") };
}

// Converts a document without a window (a second profile: the first may still be in use).
bool Convert(const QString& Profile, const QString& Document, const QString& Filter, const QString& Into)
{
    QProcess Office;
    Office.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    Office.start(QStringLiteral("soffice"),
        OfficeArguments(Profile) + QStringList { QStringLiteral("--headless"), QStringLiteral("--convert-to"), Filter, QStringLiteral("--outdir"), Into, Document });
    return Office.waitForFinished(180000) && Office.exitCode() == 0;
}

TEST(KivoInWriter, PolytonicLinesAreSavedExactlyAndBackspaceTakesAMarkOff)
{
    QElapsedTimer Took;
    Took.start();
    QTemporaryDir Directory;
    const QString Profile = Directory.filePath(QStringLiteral("profile")), Converter = Directory.filePath(QStringLiteral("converter"));
    WriteProfile(Profile);
    WriteProfile(Converter);
    // An empty document in Writer's own format, so that the save shortcut saves without asking.
    const QString Empty = Directory.filePath(QStringLiteral("greek.txt"));
    QFile(Empty).open(QIODevice::WriteOnly);
    ASSERT_TRUE(Convert(Converter, Empty, QStringLiteral("odt"), Directory.path()));
    const QString Document = Directory.filePath(QStringLiteral("greek.odt"));
    ASSERT_TRUE(QFileInfo::exists(Document));
    const QDateTime Created = QFileInfo(Document).lastModified();

    QProcess Writer;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    Writer.setProcessEnvironment(Environment);
    Writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    Writer.start(QStringLiteral("soffice"), OfficeArguments(Profile) + QStringList { QStringLiteral("--writer"), Document });
    QString Window;
    ASSERT_TRUE(WaitFor([&] { return !(Window = FindWindow(QStringLiteral("greek.odt - LibreOffice Writer"))).isEmpty(); }, 120000));
    RunCommand(QStringLiteral("xdotool"), { QStringLiteral("windowactivate"), QStringLiteral("--sync"), Window });
    ASSERT_TRUE(WaitFor([&] { return FocusedWindow() == Window; }, 10000));
    const qint64 Started = Took.elapsed();

    QTemporaryDir Settings;
    QProcess Kivo;
    const QString MainWindow = StartKivo(Kivo, { QStringLiteral("--output=unicode") }, Settings.path());
    ASSERT_FALSE(MainWindow.isEmpty());
    const TKeypadPoints Keypad { ClientBounds(MainWindow) };
    std::vector<TPacedClick> Clicks;
    QString Expected;
    for (const TLine& Line : Lines) {
        if (!Expected.isEmpty()) {
            Clicks.push_back({ Keypad.SpecialKey(EnterSlot), 0 });
            Expected += QLatin1Char('\n');
        }
        for (const TPacedClick& Click : ClicksOf(Keypad, Line.Clicks))
            Clicks.push_back(Click);
        Expected += QString::fromUtf16(Line.Shows).normalized(QString::NormalizationForm_C);
    }
    // A hand's pace; the editor shows what arrived only on the screen, so the driver ends when
    // the keys have.
    const QString Report = RunPacedClicks(Clicks, {}, 0, 100, 150);
    EXPECT_EQ(FocusedWindow(), Window);
    Kivo.terminate();
    EXPECT_TRUE(Kivo.waitForFinished(5000));

    RunCommand(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("ctrl+s") });
    EXPECT_TRUE(WaitFor([&] { return QFileInfo(Document).lastModified() != Created; }, 60000)) << "the document was not saved";
    RunCommand(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("ctrl+q") });
    if (!Writer.waitForFinished(60000))
        Writer.kill();

    const QString Text = Directory.filePath(QStringLiteral("text"));
    ASSERT_TRUE(Convert(Converter, Document, QStringLiteral("txt:Text (encoded):UTF8"), Text));
    QString Saved = QString::fromUtf8(FileContents(Text + QStringLiteral("/greek.txt")));
    // The file's byte order mark and the line end after the last paragraph are the text
    // format's, not the document's.
    if (Saved.startsWith(QChar(0xFEFF)))
        Saved.remove(0, 1);
    if (Saved.endsWith(QLatin1Char('\n')))
        Saved.chop(1);
    const TTypingDifference Difference = CompareTyped(Expected, Saved);
    std::printf("Writer: %lld characters expected, %s; driver: %s; Writer up after %lld ms, all done after %lld ms\n",
        qlonglong(Expected.size()), Difference.Summary().c_str(), qPrintable(Report), Started, Took.elapsed());
    EXPECT_EQ(Saved.toStdString(), Expected.toStdString());
}

} // namespace

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
