// Unicode output on a real X server with a window manager: xdotool clicks the keys and accent
// buttons where the keypad shows them, and a UTF-8 xterm running `cat` in canonical mode with
// iutf8 (a BackSpace erases one whole character, Enter ends the line) writes the lines it
// receives to a file. Run through scripts/with-x --wm on the layout it was given.
#include "EndToEndSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

// ἐν ἀρχῇ ἦν ὁ λόγος, as its letters and their marks are clicked.
const std::vector<TClick> Phrase { E, Smooth, N, Space, A, Smooth, R, X, H, IotaSubscript, Circumflex, Space, H, Smooth, Circumflex,
    N, Space, O, Rough, Space, L, O, Acute, G, O, W };
const QString PhraseText = QStringLiteral("ἐν ἀρχῇ ἦν ὁ λόγος").normalized(QString::NormalizationForm_C);

class KivoUnicodeOnX : public TKivoTest {
protected:
    static void SetUpTestSuite()
    {
        KeymapBefore = KeymapDump();
        StartTarget(QStringLiteral("icanon iutf8 -echo"), true);
        // In the user's own settings.
        MainWindow = StartKivo(Kivo, { QStringLiteral("--output=unicode") }, {});
    }

    void SetUp() override
    {
        ASSERT_FALSE(MainWindow.isEmpty());
        Target->Mark();
    }

    static void Click(const std::vector<TClick>& Clicks) { ClickKeys(MainWindow, Clicks); }

    // The line the target received, exactly, and the focus still on it.
    static void ExpectLine(const QString& Expected) { Target->ExpectTyped(Expected.toUtf8() + '\n'); }

    static inline QString KeymapBefore;
};

TEST_F(KivoUnicodeOnX, APhraseArrivesAsItsPrecomposedCharacters)
{
    Click(Phrase);
    Click({ Enter });
    ExpectLine(PhraseText);
}

TEST_F(KivoUnicodeOnX, AClickInTheTargetMakesTheNextMarkWaitForItsLetter)
{
    // Had the mark replaced the letter, the BackSpace would have erased the letter before it.
    Click({ L, O });
    ClickAt(ClientBounds(Target->Window).center());
    Click({ Acute, E, Enter });
    ExpectLine(QStringLiteral("λοέ"));
}

TEST_F(KivoUnicodeOnX, KeysTypedElsewhereRightAfterKivoMakeTheNextMarkWaitForItsLetter)
{
    // xdotool types through XTest, as KIVO does, a moment after KIVO's letter (the target
    // shows it only at the line's end): KIVO must tell its own keys from another program's by
    // more than the time since it typed.
    Click({ A });
    Xdotool({ QStringLiteral("type"), QStringLiteral(".,") });
    Click({ Smooth, E, Enter });
    ExpectLine(QStringLiteral("α.,ἐ"));
}

TEST_F(KivoUnicodeOnX, AnotherActiveWindowMakesTheNextMarkWaitForItsLetter)
{
    auto Other = std::make_unique<QProcess>();
    Other->start(QStringLiteral("xterm"), { QStringLiteral("-T"), QStringLiteral("kivo-other"), QStringLiteral("-geometry"),
                                          QStringLiteral("20x3+600+0") });
    QString OtherWindow;
    ASSERT_TRUE(WaitFor([&] { return !(OtherWindow = FindWindow(QStringLiteral("kivo-other"))).isEmpty(); }, 10000));
    // The window manager gives a new window the focus.
    WaitFor([&] { return FocusedWindow() == OtherWindow; }, 2000);
    Activate(Target->Window);
    Click({ E });
    Activate(OtherWindow);
    Activate(Target->Window);
    Click({ Acute, E, Enter });
    ExpectLine(QStringLiteral("εέ"));
    Stop(Other);
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
    Click({ Shift, Letter(4, 7), Shift, V, Shift, W, Enter });
    ExpectLine(QStringLiteral("ΞΩΣ"));
}

TEST_F(KivoUnicodeOnX, APhraseArrivesInAQtEditorAndIsSaved)
{
    TEditor Editor;
    const QString Saved = Target->Directory.filePath(QStringLiteral("phrase.txt"));
    ASSERT_TRUE(Editor.Start(QStringLiteral("featherpad"), { QStringLiteral("--standalone") }, Saved));
    Click(Phrase);
    EXPECT_EQ(FocusedWindow(), Editor.Window);
    EXPECT_EQ(Editor.Save().toStdString(), PhraseText.toStdString());
    Activate(Target->Window);
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
            .arg(Fonts.path()).toUtf8());
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
        ASSERT_FALSE((MainWindow = StartKivo(Kivo, {}, Settings.path(), Case.Environment)).isEmpty());
        Target->Mark();
        Click({ L, O, Acute, Enter });
        ExpectLine(QString::fromUtf8(Case.Expected));
    }
}

TEST_F(KivoUnicodeOnX, TheKeymapIsTheLayoutsOwnAfterExit)
{
    ASSERT_TRUE(Stop(Kivo));
    // Borrowed keys are given back a moment after their last use.
    EXPECT_TRUE(WaitFor([] { return KeymapDump() == KeymapBefore; }, 3000));
}

} // namespace
