// The about and instructions windows: their layout, their texts, and how they close.
#include "AppTestSupport.h"

#include "TButton.h"

#include <QAction>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>

#include <functional>

TEST_F(TAppTest, InstructionsWindowBoxesGiveEveryPartItsPlace)
{
    Instructions->show();
    QApplication::processEvents();
    EXPECT_EQ(Instructions->size(), QSize(501, 453));
    EXPECT_EQ(Instructions->Panel1->geometry(), QRect(0, 0, 501, 81));
    EXPECT_EQ(Instructions->Panel3->geometry(), QRect(0, 81, 501, 2));
    EXPECT_EQ(Instructions->Memo1->geometry(), QRect(0, 83, 501, 329));
    EXPECT_EQ(Instructions->Panel2->geometry(), QRect(0, 412, 501, 41));
}

TEST_F(TAppTest, InstructionsSpeakOfTheOutputInForce)
{
    Instructions->ShowInstructions(omLumera);
    const QStringList Lines = Instructions->Memo1->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(Lines.size(), 23);
    EXPECT_EQ(Lines[1], QStringLiteral("1. RESIZE your word-processing window, e.g. in Notepad or Word, so that it is located where "));
    EXPECT_EQ(Lines[10].left(28), QStringLiteral("3. USE OF ACCENTS.  Set the "));
    EXPECT_EQ(Lines[16], QStringLiteral("those. "));
    EXPECT_EQ(Lines[22], QStringLiteral("accent, etc., and the preceding word to space it correctly."));

    TForm4::AddUnicodeParagraph([] { return QStringLiteral("5. ΜΙΑ ΑΚΟΜΗ ΠΑΡΑΓΡΑΦΟΣ."); });
    Instructions->ShowInstructions(omUnicode);
    const QString Unicode = Instructions->Memo1->toPlainText();
    for (const char* Wrong : { "Lumera", "font", "flicker", "Notepad", "Windows", "soft breathing to represent" })
        EXPECT_FALSE(Unicode.contains(QLatin1String(Wrong), Qt::CaseInsensitive)) << Wrong;
    for (const char* Told : { "never takes the focus", "\u2019", "\u232B", "KIVO" })
        EXPECT_TRUE(Unicode.contains(QString::fromUtf8(Told))) << Told;
    EXPECT_TRUE(Unicode.endsWith(QStringLiteral("\n\n5. ΜΙΑ ΑΚΟΜΗ ΠΑΡΑΓΡΑΦΟΣ.")));
}

// Built by their banner button at the first opening and reused; modal, fixed in size, their button focused at the
// first opening, their memo selectable but not editable; closed by the close box or by Enter on the button, as often
// as asked.
TEST_F(TAppTest, BannerButtonsOpenTheirFixedReadOnlyDialogWhichTheButtonOrTheCloseBoxCloses)
{
    // As at start: the dialogs do not exist until a banner button opens them.
    About.reset();
    Instructions.reset();
    Form2 = nullptr;
    Form4 = nullptr;
    const struct {
        QAbstractButton* Banner;
        std::function<QDialog*()> Reference;
        QString Title;
    } Openings[] = {
        { MainForm->Button1, [] { return static_cast<QDialog*>(Form2); }, QStringLiteral("About KIVO") },
        { MainForm->Button2, [] { return static_cast<QDialog*>(Form4); }, QStringLiteral("How to use KIVO") },
    };
    for (const auto& Opening : Openings) {
        SCOPED_TRACE(Opening.Title.toStdString());
        QDialog* First = nullptr;
        for (const bool ByButton : { false, true, false }) {
            QDialog* Shown = nullptr;
            QTimer::singleShot(0, [&] {
                Shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!Shown)
                    return;
                EXPECT_EQ(Shown->minimumSize(), Shown->maximumSize());
                EXPECT_FALSE(Shown->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
                auto* Button = Shown->findChild<TButton*>(QStringLiteral("Button1"));
                if (!First) {
                    EXPECT_EQ(Shown->focusWidget(), Button);
                }
                if (ByButton)
                    QTest::keyClick(Button, Qt::Key_Return);
                else
                    Shown->close();
            });
            Opening.Banner->click();
            ASSERT_TRUE(Shown);
            EXPECT_FALSE(Shown->isVisible());
            EXPECT_EQ(Shown->windowTitle(), Opening.Title);
            EXPECT_EQ(Shown, Opening.Reference());
            EXPECT_TRUE(!First || Shown == First) << "built again at a later opening";
            First = Shown;
        }
        auto* Memo = First->findChild<QTextEdit*>(QStringLiteral("Memo1"));
        const QString Before = Memo->toPlainText();
        EXPECT_TRUE(Memo->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        QTest::keyClicks(Memo, QStringLiteral("typed"));
        EXPECT_EQ(Memo->toPlainText(), Before);
    }
    EXPECT_TRUE(KeyEvents().empty());
}

// In Greek every text of the windows is Greek: only names and the keys' own labels stay.
TEST_F(TAppTest, InGreekEveryTextTheWindowsShowIsGreek)
{
    QTranslator Greek;
    ASSERT_TRUE(Greek.load(QStringLiteral(":/i18n/kivo_el.qm")));
    QCoreApplication::installTranslator(&Greek);
    TForm1 Main;
    TForm2 AboutInGreek;
    TForm4 InstructionsInGreek;
    const auto English = qScopeGuard([&Greek] { QCoreApplication::removeTranslator(&Greek); });
    const QRegularExpression Latin(QStringLiteral("[A-Za-z]{2,}"));
    const QStringList Names { QStringLiteral("KIVO"), QStringLiteral("IVO"), QStringLiteral("Lumera"), QStringLiteral("LUMERA"), QStringLiteral("Unicode"), QStringLiteral("Word"),
        QStringLiteral("Backspace"), QStringLiteral("Delete"), QStringLiteral("Tab"), QStringLiteral("Caps"),
        QStringLiteral("Shift"), QStringLiteral("Enter"), QStringLiteral("Esc") };
    auto ExpectGreek = [&](const QString& Text, const QString& Where) {
        for (auto Words = Latin.globalMatch(Text); Words.hasNext();) {
            const QString Word = Words.next().captured();
            EXPECT_TRUE(Names.contains(Word)) << Where.toStdString() << ": " << Word.toStdString();
        }
    };
    for (const TOutputMode Mode : { omUnicode, omLumera }) {
        Main.SetOutputMode(Mode);
        InstructionsInGreek.ShowInstructions(Mode);
        for (const QWidget* Window : { static_cast<QWidget*>(&Main), static_cast<QWidget*>(&AboutInGreek), static_cast<QWidget*>(&InstructionsInGreek) }) {
            ExpectGreek(Window->windowTitle(), Window->objectName());
            for (const QLabel* Label : Window->findChildren<QLabel*>())
                ExpectGreek(Label->text(), Label->objectName());
            for (const QAbstractButton* Button : Window->findChildren<QAbstractButton*>())
                ExpectGreek(Button->text(), Button->objectName());
            for (const QTextEdit* Memo : Window->findChildren<QTextEdit*>())
                ExpectGreek(Memo->toPlainText(), Memo->objectName());
            for (const QAction* Action : Window->actions())
                ExpectGreek(Action->text(), Action->text());
        }
    }
    // Every main window adds the extra keys' paragraphs; the instructions tell them once.
    InstructionsInGreek.ShowInstructions(omUnicode);
    EXPECT_EQ(InstructionsInGreek.Memo1->toPlainText().count(QStringLiteral("\n6. ")), 1);
}
