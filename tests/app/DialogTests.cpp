// The about and instructions windows: their layout, their texts, and how they close.
#include "AppTestSupport.h"

#include "TButton.h"
#include "TMemo.h"

#include <QTest>

#include <algorithm>

TEST_F(TAppTest, AboutWindowLayout)
{
    EXPECT_EQ(About->windowTitle(), QStringLiteral("About KIVO"));
    EXPECT_EQ(About->size(), QSize(195, 324));
    EXPECT_EQ(About->Panel1->geometry(), QRect(16, 16, 161, 81));
    EXPECT_EQ(About->Image1->geometry(), QRect(8, 5, 64, 64));
    EXPECT_EQ(About->Memo1->geometry(), QRect(16, 104, 161, 169));
    EXPECT_EQ(About->Button1->geometry(), QRect(16, 288, 161, 25));
    EXPECT_EQ(About->Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(About->Label1->Caption(), "IVO");
    EXPECT_TRUE(About->Label1->font().bold());
    EXPECT_FALSE(About->Image1->pixmap().isNull());
}

TEST_F(TAppTest, AboutTextHasTwelveLinesWithAHandBrokenNotice)
{
    const std::vector<std::string> Lines = About->Memo1->Lines();
    ASSERT_EQ(Lines.size(), 12U);
    EXPECT_EQ(Lines[0], "KIVO Version 1.0.");
    EXPECT_EQ(Lines[1], "");
    EXPECT_FALSE(Lines[2].empty());
    EXPECT_EQ(Lines[3], "");
    for (int Line = 4; Line <= 10; ++Line) {
        EXPECT_GE(Lines[Line].size(), 25U) << "line " << Line + 1;
        EXPECT_LE(Lines[Line].size(), 36U) << "line " << Line + 1;
        EXPECT_EQ(Lines[Line].back(), ' ') << "line " << Line + 1;
    }
    EXPECT_NE(Lines[4].find("2026"), std::string::npos);
    EXPECT_FALSE(Lines[11].empty());
}

TEST_F(TAppTest, InstructionsWindowLayoutFollowsTheAlignments)
{
    EXPECT_EQ(Instructions->windowTitle(), QStringLiteral("How to use KIVO"));
    EXPECT_EQ(Instructions->size(), QSize(501, 453));
    EXPECT_EQ(Instructions->Panel1->geometry(), QRect(0, 0, 501, 81));
    EXPECT_EQ(Instructions->Panel3->geometry(), QRect(0, 81, 501, 2));
    EXPECT_EQ(Instructions->Memo1->geometry(), QRect(0, 83, 501, 329));
    EXPECT_EQ(Instructions->Panel2->geometry(), QRect(0, 412, 501, 41));
    EXPECT_EQ(Instructions->Button1->geometry(), QRect(216, 8, 75, 25));
    EXPECT_EQ(Instructions->Image1->geometry(), QRect(176, 5, 64, 64));
    EXPECT_EQ(Instructions->Memo1->Alignment(), TMemo::taCenter);
}

TEST_F(TAppTest, InstructionsTextKeepsItsBlanks)
{
    const std::vector<std::string> Lines = Instructions->Memo1->Lines();
    ASSERT_EQ(Lines.size(), 23U);
    EXPECT_EQ(Lines[0], "");
    EXPECT_EQ(Lines[1], "1. RESIZE your word-processing window, e.g. in Notepad or Word, so that it is located where ");
    EXPECT_EQ(Lines[10].substr(0, 28), "3. USE OF ACCENTS.  Set the ");
    EXPECT_EQ(Lines[16], "those. ");
    EXPECT_EQ(Lines[22], "accent, etc., and the preceding word to space it correctly.");
    const auto Empty = std::count(Lines.begin(), Lines.end(), std::string());
    EXPECT_EQ(Empty, 4);
}

TEST_F(TAppTest, MemosCanBeSelectedButNotEdited)
{
    for (TMemo* Memo : { About->Memo1, Instructions->Memo1 }) {
        const QString Before = Memo->toPlainText();
        EXPECT_TRUE(Memo->isReadOnly());
        EXPECT_TRUE(Memo->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
        QTest::keyClicks(Memo, QStringLiteral("typed"));
        EXPECT_EQ(Memo->toPlainText(), Before);
    }
}

TEST_F(TAppTest, DialogsCloseWithTheCloseBoxToo)
{
    WhileModal(Instructions.get(), [this] { Instructions->close(); });
    EXPECT_EQ(Instructions->ShowModal(), TForm::mrCancel);
    EXPECT_FALSE(Instructions->isVisible());
    // Shown again as often as asked, and Enter on the focused button closes it.
    WhileModal(About.get(), [this] {
        About->Button1->setFocus();
        QTest::keyClick(About->Button1, Qt::Key_Return);
    });
    EXPECT_EQ(About->ShowModal(), TForm::mrOk);
}

TEST_F(TAppTest, DialogsAreFixedSizeDialogsWithTheirButtonFocused)
{
    for (TForm* Dialog : { static_cast<TForm*>(About.get()), static_cast<TForm*>(Instructions.get()) }) {
        bool Checked = false;
        WhileModal(Dialog, [Dialog, &Checked] {
            Checked = true;
            EXPECT_EQ(Dialog->minimumSize(), Dialog->maximumSize());
            EXPECT_FALSE(Dialog->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
            EXPECT_EQ(Dialog->focusWidget(), Dialog->findChild<TButton*>(QStringLiteral("Button1")));
            Dialog->close();
        });
        Dialog->ShowModal();
        EXPECT_TRUE(Checked);
    }
}

TEST_F(TAppTest, BannerButtonsBuildTheirDialogAtTheFirstOpeningAndReuseIt)
{
    // As at start: the dialogs do not exist until a banner button opens them.
    About.reset();
    Instructions.reset();
    Form2 = nullptr;
    Form4 = nullptr;
    const struct {
        QAbstractButton* Banner;
        std::function<QWidget*()> Reference;
        QString Title;
    } Openings[] = {
        { MainForm->Button1, [] { return static_cast<QWidget*>(Form2); }, QStringLiteral("About KIVO") },
        { MainForm->Button2, [] { return static_cast<QWidget*>(Form4); }, QStringLiteral("How to use KIVO") },
    };
    for (const auto& Opening : Openings) {
        QWidget* First = nullptr;
        for (int Time = 0; Time < 2; ++Time) {
            QWidget* Shown = nullptr;
            bool Modal = false;
            QTimer::singleShot(0, [&] {
                Shown = QApplication::activeModalWidget();
                Modal = Shown && Shown->isVisible();
                if (Shown)
                    Shown->close();
            });
            Opening.Banner->click();
            ASSERT_TRUE(Modal) << Opening.Title.toStdString();
            EXPECT_EQ(Shown->windowTitle(), Opening.Title);
            EXPECT_EQ(Shown, Opening.Reference());
            if (Time == 0)
                First = Opening.Reference();
            EXPECT_EQ(Opening.Reference(), First) << "built again at the second opening";
        }
    }
    EXPECT_TRUE(KeyEvents().empty());
}
