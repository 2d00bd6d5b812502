// Unicode output on a real X server with a window manager: xdotool clicks the keys and accent
// buttons where the keypad shows them, and a UTF-8 xterm running `cat` in canonical mode with
// iutf8 (a BackSpace erases one whole character, Enter ends the line) writes the lines it
// receives to a file. Run through scripts/with-x --wm on the layout it was given.
#include "EndToEndSupport.h"
#include "KeypadClicks.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class KivoUnicodeOnX : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Directory = std::make_unique<QTemporaryDir>();
        TargetFile = Directory->filePath(QStringLiteral("typed"));
        KeymapBefore = Keymap();
        Target = std::make_unique<QProcess>();
        ASSERT_FALSE((TargetWindow = StartTargetTerminal(*Target, TargetFile, QStringLiteral("icanon iutf8 -echo"), true)).isEmpty());
        Activate(TargetWindow);
        StartKivo({ QStringLiteral("--output=unicode") });
    }

    static void TearDownTestSuite()
    {
        EXPECT_TRUE(Stop(Kivo));
        Stop(Target);
        Directory.reset();
    }

    // In the user's settings unless given some of its own.
    static void StartKivo(const QStringList& Arguments, const QString& Settings = {},
        const QProcessEnvironment& Environment = QProcessEnvironment::systemEnvironment())
    {
        Stop(Kivo);
        Kivo = std::make_unique<QProcess>();
        MainWindow = ::StartKivo(*Kivo, Arguments, Settings, Environment);
        ASSERT_FALSE(MainWindow.isEmpty());
    }

    static QString Keymap() { return RunCommand(QStringLiteral("xkbcomp"), { QStringLiteral("-xkb"), qEnvironmentVariable("DISPLAY"), QStringLiteral("-") }); }

    void SetUp() override
    {
        ASSERT_FALSE(MainWindow.isEmpty());
        TypedBefore = FileContents(TargetFile).size();
    }

    static void Click(std::initializer_list<TClick> Clicks)
    {
        for (const TClick& Each : Clicks)
            ClickAt(KeypadPoint(ClientBounds(MainWindow), Each));
    }

    // The line the target received, exactly, and the focus still on it.
    void ExpectLine(const QString& Expected)
    {
        const QByteArray Bytes = Expected.toUtf8() + '\n';
        WaitFor([&] { return FileContents(TargetFile).size() - TypedBefore >= Bytes.size(); });
        QThread::msleep(100);
        const QByteArray Typed = FileContents(TargetFile).mid(TypedBefore);
        EXPECT_EQ(Typed.toHex(' ').toStdString(), Bytes.toHex(' ').toStdString()) << "typed \"" << Typed.toStdString() << "\"";
        EXPECT_EQ(FocusedWindow(), TargetWindow);
        TypedBefore = FileContents(TargetFile).size();
    }

    static inline std::unique_ptr<QTemporaryDir> Directory;
    static inline QString TargetFile;
    static inline QString KeymapBefore;
    static inline std::unique_ptr<QProcess> Target;
    static inline std::unique_ptr<QProcess> Kivo;
    static inline QString TargetWindow;
    static inline QString MainWindow;
    qsizetype TypedBefore = 0;
};

TEST_F(KivoUnicodeOnX, APhraseArrivesAsItsPrecomposedCharacters)
{
    Click({ E, Smooth, N, Space, A, Smooth, R, X, H, IotaSubscript, Circumflex, Space, H, Smooth, Circumflex, N, Space, O, Rough,
        Space, L, O, Acute, G, O, W, Enter });
    ExpectLine(QStringLiteral("ἐν ἀρχῇ ἦν ὁ λόγος").normalized(QString::NormalizationForm_C));
}

TEST_F(KivoUnicodeOnX, AClickInTheTargetMakesTheNextMarkWaitForItsLetter)
{
    // Had the mark replaced the letter, the BackSpace would have erased the letter before it.
    Click({ L, O });
    ClickAt(ClientBounds(TargetWindow).center());
    Click({ Acute, E, Enter });
    ExpectLine(QStringLiteral("λοέ"));
}

TEST_F(KivoUnicodeOnX, KeysTypedElsewhereRightAfterKivoMakeTheNextMarkWaitForItsLetter)
{
    // xdotool types through XTest, as KIVO does, a moment after KIVO's letter (the target
    // shows it only at the line's end): KIVO must tell its own keys from another program's by
    // more than the time since it typed.
    Click({ A });
    RunCommand(QStringLiteral("xdotool"), { QStringLiteral("type"), QStringLiteral(".,") });
    Click({ Smooth, E, Enter });
    ExpectLine(QStringLiteral("α.,ἐ"));
}

TEST_F(KivoUnicodeOnX, AnotherActiveWindowMakesTheNextMarkWaitForItsLetter)
{
    QProcess Other;
    Other.start(QStringLiteral("xterm"), { QStringLiteral("-T"), QStringLiteral("kivo-other"), QStringLiteral("-geometry"),
                                          QStringLiteral("20x3+600+0") });
    QString OtherWindow;
    ASSERT_TRUE(WaitFor([&] { return !(OtherWindow = FindWindow(QStringLiteral("kivo-other"))).isEmpty(); }, 10000));
    // The window manager gives a new window the focus.
    WaitFor([&] { return FocusedWindow() == OtherWindow; }, 2000);
    Activate(TargetWindow);
    Click({ E });
    Activate(OtherWindow);
    Activate(TargetWindow);
    Click({ Acute, E, Enter });
    ExpectLine(QStringLiteral("εέ"));
    Other.terminate();
    Other.waitForFinished(3000);
}

TEST_F(KivoUnicodeOnX, BackspaceAfterAMarkTakesThatMarkOff)
{
    Click({ A, Acute, Backspace, V, IotaSubscript, Rough, Circumflex, Backspace, Enter });
    ExpectLine(QStringLiteral("αᾡ"));
    // Then the letter, then what was there before it.
    Click({ G, A, Acute, Backspace, Backspace, Backspace, E, Enter });
    ExpectLine(QStringLiteral("ε"));
}

TEST_F(KivoUnicodeOnX, ShiftedKeysTypeTheCapitalsTheyShow)
{
    Click({ { TClick::Special, 2, 0 }, Letter(4, 7), { TClick::Special, 2, 0 }, V, { TClick::Special, 2, 0 }, W, Enter });
    ExpectLine(QStringLiteral("ΞΩΣ"));
}

TEST_F(KivoUnicodeOnX, APhraseArrivesInAQtEditorAndIsSaved)
{
    const QString Saved = Directory->filePath(QStringLiteral("phrase.txt"));
    QFile(Saved).open(QIODevice::WriteOnly);
    QProcess Editor;
    Editor.start(QStringLiteral("featherpad"), { QStringLiteral("--standalone"), Saved });
    QString Window;
    ASSERT_TRUE(WaitFor([&] {
        return !(Window = RunCommand(QStringLiteral("xdotool"), { QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                        QStringLiteral("--pid"), QString::number(Editor.processId()) })
                              .section(QLatin1Char('\n'), 0, 0))
                    .isEmpty();
    }, 10000));
    Activate(Window);
    Click({ E, Smooth, N, Space, A, Smooth, R, X, H, IotaSubscript, Circumflex, Space, H, Smooth, Circumflex, N, Space, O, Rough,
        Space, L, O, Acute, G, O, W });
    EXPECT_EQ(FocusedWindow(), Window);
    RunCommand(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("ctrl+s") });
    auto SavedText = [&] { return QString::fromUtf8(FileContents(Saved)); };
    EXPECT_TRUE(WaitFor([&] { return !SavedText().isEmpty(); }));
    // The editor ends the file with a line break of its own.
    QString Text = SavedText();
    if (Text.endsWith(QLatin1Char('\n')))
        Text.chop(1);
    EXPECT_EQ(Text.toStdString(), QStringLiteral("ἐν ἀρχῇ ἦν ὁ λόγος").normalized(QString::NormalizationForm_C).toStdString());
    Editor.terminate();
    Editor.waitForFinished(3000);
    Activate(TargetWindow);
}

// Last: they stop and restart the program.
TEST_F(KivoUnicodeOnX, AutoTypesFontCodesOnlyWhereAFontNamedLumeraIsInstalled)
{
    // A font made for the test: DejaVu Sans Mono, renamed as fontconfig reads it.
    QTemporaryDir Fonts;
    QFile::copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"), Fonts.filePath(QStringLiteral("test-font.ttf")));
    QFile Config(Fonts.filePath(QStringLiteral("fonts.conf")));
    ASSERT_TRUE(Config.open(QIODevice::WriteOnly));
    Config.write(QStringLiteral(
        "<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
        "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include><dir>%1</dir><cachedir>%1/cache</cachedir>"
        "<match target=\"scan\"><test name=\"file\"><string>%1/test-font.ttf</string></test>"
        "<edit name=\"family\" mode=\"assign\" binding=\"same\"><string>Lumera</string></edit></match></fontconfig>")
                     .arg(Fonts.path())
                     .toUtf8());
    Config.close();
    QProcessEnvironment WithLumera = QProcessEnvironment::systemEnvironment();
    WithLumera.insert(QStringLiteral("FONTCONFIG_FILE"), Config.fileName());
    ASSERT_TRUE(RunCommand(QStringLiteral("sh"), { QStringLiteral("-c"), QStringLiteral("FONTCONFIG_FILE='%1' fc-list : family").arg(Config.fileName()) })
                    .contains(QStringLiteral("Lumera")));

    const struct {
        QProcessEnvironment Environment;
        const char* Expected;
    } Cases[] = { { WithLumera, "lo#" }, { QProcessEnvironment::systemEnvironment(), "λό" } };
    for (const auto& Case : Cases) {
        // No remembered choice: auto.
        QTemporaryDir Settings;
        StartKivo({}, Settings.path(), Case.Environment);
        TypedBefore = FileContents(TargetFile).size();
        Click({ L, O, Acute, Enter });
        ExpectLine(QString::fromUtf8(Case.Expected));
    }
}

TEST_F(KivoUnicodeOnX, TheKeymapIsTheLayoutsOwnAfterExit)
{
    ASSERT_TRUE(Stop(Kivo));
    // Borrowed keys are given back a moment after their last use.
    EXPECT_TRUE(WaitFor([] { return Keymap() == KeymapBefore; }, 3000));
}

} // namespace

int main(int Argc, char** Argv)
{
    QCoreApplication App(Argc, Argv);
    testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
