// LibreOffice Writer, the scholars' own editor, as the target of Unicode output: three lines of
// polytonic Greek clicked on the keypad and the accent toolbar, the document saved with the
// editor's save shortcut and read back as text through the office's own converter. Writer
// runs on a profile of its own in which nothing changes what is typed (no autocorrection, no
// word completion, no tip of the day).
#include "EndToEndSupport.h"
#include "KeyCaptions.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdio>
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

// The clicks of the notation's marks and of the keys it writes as signs.
const std::pair<char, TClick> SignClicks[] = { { ')', Smooth }, { '(', Rough }, { '/', Acute }, { '=', Circumflex },
    { '|', IotaSubscript }, { '+', { TClick::Accent, 3, 2 } }, { '*', Shift }, { '<', Backspace }, { ' ', Space } };

void AddClicks(std::vector<TPacedClick>& Clicks, const QRect& Client, const char* Text)
{
    for (const char* Each = Text; *Each; ++Each) {
        const std::string Key(1, *Each);
        QPoint At;
        for (const auto& [Sign, Click] : SignClicks)
            if (Sign == *Each)
                At = KeypadPoint(Client, Click);
        for (int Row = 3; Row <= 5 && At.isNull(); ++Row) {
            const TCaptionTable Captions = AlphaRowCaptions(Row, false, false);
            for (int Column = 1; Column <= int(Captions.size()) && At.isNull(); ++Column)
                if (CaptionOf(Captions, Column) == Key)
                    At = KeypadPoint(Client, Letter(Row, Column));
        }
        EXPECT_FALSE(At.isNull()) << "no key for '" << Key << "'";
        Clicks.push_back({ At, 0 });
    }
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
    ASSERT_TRUE(Activate(Window, 10000));
    const qint64 Started = Took.elapsed();

    QTemporaryDir Settings;
    std::unique_ptr<QProcess> Kivo;
    const QString MainWindow = StartKivo(Kivo, { QStringLiteral("--output=unicode") }, Settings.path());
    ASSERT_FALSE(MainWindow.isEmpty());
    const QRect Client = ClientBounds(MainWindow);
    std::vector<TPacedClick> Clicks;
    QString Expected;
    for (const TLine& Line : Lines) {
        if (!Expected.isEmpty()) {
            Clicks.push_back({ KeypadPoint(Client, Enter), 0 });
            Expected += QLatin1Char('\n');
        }
        AddClicks(Clicks, Client, Line.Clicks);
        Expected += QString::fromUtf16(Line.Shows).normalized(QString::NormalizationForm_C);
    }
    // A hand's pace; the editor shows what arrived only on the screen, so the driver ends when
    // the keys have.
    const QString Report = RunPacedClicks(Clicks, {}, 0, 100, 150);
    EXPECT_EQ(FocusedWindow(), Window);
    EXPECT_TRUE(Stop(Kivo));

    Xdotool({ QStringLiteral("key"), QStringLiteral("ctrl+s") });
    EXPECT_TRUE(WaitFor([&] { return QFileInfo(Document).lastModified() != Created; }, 60000)) << "the document was not saved";
    Xdotool({ QStringLiteral("key"), QStringLiteral("ctrl+q") });
    if (!Writer.waitForFinished(60000))
        Writer.kill();

    const QString Text = Directory.filePath(QStringLiteral("text"));
    ASSERT_TRUE(Convert(Converter, Document, QStringLiteral("txt:Text (encoded):UTF8"), Text));
    QString Saved = QString::fromUtf8(Contents(Text + QStringLiteral("/greek.txt")));
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
