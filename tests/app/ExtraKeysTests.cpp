// The row of extra keys in the main window: there in Unicode output only, shown and hidden by
// its toggle and remembered, and the frame that shows a mark waiting for its letter.
#include "AppTestSupport.h"

#include "ExtraKeyTable.h"
#include "ExtraKeys.h"
#include "Keyboard.h"
#include "TSpeedButton.h"
#include "TToolButton.h"

#include <QSettings>
#include <QTest>
#include <QToolButton>

namespace {

bool Waits(const QWidget* Button)
{
    const QWidget* Frame = Button->findChild<QWidget*>(QStringLiteral("WaitingFrame"));
    return Frame && Frame->isVisibleTo(Button);
}

} // namespace

TEST_F(TAppTest, TheExtraKeysAreThereInUnicodeOutputOnlyAndTheirRowIsRemembered)
{
    QSettings().remove(QStringLiteral("ExtraKeys"));
    TExtraKeys* Extra = MainForm->ExtraKeys;
    EXPECT_FALSE(Extra->Toggle()->isVisible());
    MainForm->SetOutputMode(omUnicode);
    ASSERT_TRUE(Extra->Toggle()->isVisible());
    EXPECT_FALSE(Extra->Key(0)->isVisible());
    QTest::mouseClick(Extra->Toggle(), Qt::LeftButton);
    EXPECT_TRUE(Extra->Key(0)->isVisible());
    // Every key inside the banner text's place, left of the toggle; on this 800-pixel screen
    // the narrowest they get.
    const QRect Banner = MainForm->Label1->rect();
    for (int Index = 0; Index < ExtraKeyCount; ++Index) {
        const QRect Key = Extra->Key(Index)->geometry();
        EXPECT_TRUE(Banner.contains(Key) && Key.right() < Extra->Toggle()->geometry().left() && Key.width() >= 14) << Index;
    }

    TForm1 Later;
    Later.SetOutputMode(omUnicode);
    EXPECT_TRUE(Later.ExtraKeys->RowShown());
    QTest::mouseClick(Later.ExtraKeys->Toggle(), Qt::LeftButton);
    EXPECT_FALSE(TForm1().ExtraKeys->RowShown());
    MainForm->SetOutputMode(omLumera);
    EXPECT_FALSE(Extra->Toggle()->isVisible());
}

TEST_F(TAppTest, AMarkWaitingForItsLetterIsFramedUntilTheLetterOrBackspace)
{
    MainForm->SetOutputMode(omUnicode);
    QWidget* Macron = MainForm->ExtraKeys->Key(5);
    ASSERT_EQ(ExtraKeys[5].Marks, gmMacron);
    QTest::mouseClick(MainForm->ToolButton3, Qt::LeftButton); // acute, at the start
    QTest::mouseClick(Macron, Qt::LeftButton);
    EXPECT_TRUE(Waits(MainForm->ToolButton3));
    EXPECT_TRUE(Waits(Macron));
    EXPECT_FALSE(Waits(MainForm->ToolButton1));
    QTest::mouseClick(MainForm->Keyboard1->SpecialKeys(BackspaceSlot), Qt::LeftButton);
    EXPECT_FALSE(Waits(Macron));
    QTest::mouseClick(MainForm->Keyboard1->Keys(4, 1), Qt::LeftButton); // alpha takes the acute
    EXPECT_FALSE(Waits(MainForm->ToolButton3));
    // Lumera output has no waiting marks.
    QTest::mouseClick(MainForm->Keyboard1->SpecialKeys(SpaceSlot), Qt::LeftButton);
    QTest::mouseClick(Macron, Qt::LeftButton);
    ASSERT_TRUE(Waits(Macron));
    MainForm->SetOutputMode(omLumera);
    EXPECT_TRUE(MainForm->Composer.WaitingMarks().empty());
}
