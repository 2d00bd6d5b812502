// The extra keys and marks clicked before their letter, on a real X server with a window
// manager: real clicks on the keypad, the accent toolbar and the row of extra keys type lines
// into a UTF-8 xterm running `cat` and into gedit, which must receive them exactly, in NFC.
#include "EndToEndSupport.h"
#include "ExtraKeyTable.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Each line is written as it is clicked: a letter is its keypad key (a capital with Shift), a
// combining mark the accent button or extra key that applies it, anything else an extra key.
const struct {
    std::u32string Clicks;
    const char32_t* Expected;
} Lines[] = {
    { U"η\u0314\u0300 μυρι\u0301\u2019 Α\u0313χαιοι\u0342ς α\u0313\u0301λγε\u2019 ε\u0313\u0301θηκε\u0387",
        U"\u1F23 μυρ\u03AF\u2019 \u1F08χαιο\u1FD6ς \u1F04λγε\u2019 \u1F14θηκε\u00B7" },
    { U"«α\u0304\u0301 α\u0306 \u03DDα\u0301ναξ \u03F2ε\u0323»", U"«\u1FB1\u0301 \u1FB0 \u03DD\u03ACναξ \u03F2ε\u0323»" },
    // Marks before their letter: at the start of the line and after a space.
    { U"\u0313\u0301ανδρα μοι \u0313\u0301εννεπε", U"\u1F04νδρα μοι \u1F14ννεπε" },
};

class KivoExtraKeysOnX : public TKivoTest {
protected:
    static void SetUpTestSuite()
    {
        MainWindow = StartKivo(Kivo, { QStringLiteral("--output=unicode") }, Directory.filePath(QStringLiteral("config")));
        ASSERT_EQ(FindWindow(QString::fromLatin1(UnicodeMainTitle)), MainWindow);
        // The row over the banner text, shown by its toggle at the right end.
        const QRect Client = ClientBounds(MainWindow);
        ExtraRow = QRect(Client.left() + 110, Client.top(), Client.width() - 127 - 220, 30);
        ClickAt(ExtraRow.topLeft() + ExtraKeysToggleBounds(ExtraRow.size(), false).center());
    }

    // Clicks a line and Enter, each click once the one before has arrived where Arrived (bytes so
    // far) can see it, and a moment more: these tests check what arrives, not how fast. (Under
    // heavy load a click that follows the one before too closely is sometimes lost.)
    static void ClickLine(const std::u32string& Line, const std::function<qint64()>& Arrived)
    {
        const std::u32string KeyRows[] = { U";ςερτυθιοπ", U"ασδφγηξκλ", U"ζχψωβνμ" };
        // The accent buttons of the first row, then the grave and the iota subscript.
        const std::u32string Accents = U"\u0313\u0314\u0301\u0342\u0300\u0345";
        bool AfterLetter = false;
        for (const char32_t Click : Line + U"\n") {
            const qint64 Before = Arrived();
            const char32_t Small = QChar::toLower(Click);
            const size_t Accent = Accents.find(Click);
            const TGreekMarks Marks = Click == U'\u0304' ? gmMacron : Click == U'\u0306' ? gmBreve : Click == U'\u0323' ? gmDotBelow : 0;
            const auto KeyRow = std::find_if(std::begin(KeyRows), std::end(KeyRows), [&](const auto& Keys) { return Keys.find(Small) != Keys.npos; });
            // A mark types at once only after a letter; before one it waits.
            const bool Types = (Accent == Accents.npos && Marks == 0) || AfterLetter;
            if (Click == U' ' || Click == U'\n') {
                ClickKeys(MainWindow, { Click == U' ' ? Space : Enter });
            } else if (Accent != Accents.npos) {
                ClickKeys(MainWindow, { { TClick::Accent, int(Accent) / 4, int(Accent) < 4 ? int(Accent) : int(Accent) - 3 } });
            } else if (KeyRow != std::end(KeyRows)) {
                if (Small != Click) {
                    ClickKeys(MainWindow, { Shift });
                    QThread::msleep(200);
                }
                ClickKeys(MainWindow, { Letter(int(KeyRow - std::begin(KeyRows)) + 3, int(KeyRow->find(Small)) + 1) });
            } else {
                const auto Key = std::find_if(std::begin(ExtraKeys), std::end(ExtraKeys),
                    [&](const TExtraKey& Extra) { return Marks != 0 ? Extra.Marks == Marks : Extra.Character == Click; });
                ASSERT_NE(Key, std::end(ExtraKeys)) << "no key for U+" << std::hex << unsigned(Click);
                ClickAt(ExtraRow.topLeft() + ExtraKeyBounds(ExtraRow.size(), int(Key - std::begin(ExtraKeys))).center());
            }
            if (Accent == Accents.npos && Marks == 0)
                AfterLetter = QChar::isLetter(Click);
            if (Types && Before >= 0)
                WaitFor([&] { return Arrived() > Before; }, 3000);
            QThread::msleep(Before >= 0 ? 200 : 400);
        }
    }

    static inline QTemporaryDir Directory;
    static inline QRect ExtraRow;
};

// The lines as they must arrive, each ended by Enter.
std::string Expected()
{
    QString Text;
    for (const auto& Line : Lines)
        Text += QString::fromUcs4(Line.Expected) + QLatin1Char('\n');
    return Text.toStdString();
}

TEST_F(KivoExtraKeysOnX, EveryLineArrivesExactlyInAUtf8Terminal)
{
    TTargetTerminal Terminal;
    // Raw, so that every key arrives at once; an erase takes one character, as iutf8 does.
    ASSERT_TRUE(Terminal.Start(QStringLiteral("-icanon iutf8 -echo"), true));
    for (const auto& Line : Lines)
        ClickLine(Line.Clicks, [&] { return QFileInfo(Terminal.File).size(); });
    QString Text;
    for (const QChar Each : QString::fromUtf8(Terminal.Typed())) {
        if (Each == QChar(0x7f))
            Text.chop(1);
        else
            Text += Each;
    }
    EXPECT_EQ(Text.toStdString(), Expected());
}

TEST_F(KivoExtraKeysOnX, EveryLineArrivesExactlyInGedit)
{
    TEditor Editor;
    const QString Saved = Directory.filePath(QStringLiteral("gedit.txt"));
    ASSERT_TRUE(Editor.Start(QStringLiteral("gedit"), { QStringLiteral("--standalone") }, Saved));
    for (const auto& Line : Lines)
        ClickLine(Line.Clicks, [] { return qint64(-1); });
    EXPECT_EQ(FocusedWindow(), Editor.Window);
    EXPECT_EQ(Editor.Save().toStdString(), Expected());
}

} // namespace
