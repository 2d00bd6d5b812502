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

TEST_F(TAppTest, TheExtraKeysAreThereInUnicodeOutputOnlyRememberedAndFrameAWaitingMark)
{
    QSettings().remove(QStringLiteral("ExtraKeys"));
    TExtraKeys* Extra = MainForm->ExtraKeys;
    EXPECT_FALSE(Extra->Toggle()->isVisible());
    MainForm->SetOutputMode(omUnicode);
    ASSERT_TRUE(Extra->Toggle()->isVisible() && !Extra->Key(0)->isVisible());
    QTest::mouseClick(Extra->Toggle(), Qt::LeftButton);
    // On this 800-pixel screen the keys are the narrowest they get, inside the banner text's place.
    const QRect Last = Extra->Key(ExtraKeyCount - 1)->geometry();
    EXPECT_TRUE(Extra->Key(0)->isVisible() && Extra->Key(0)->x() >= 0 && Last.width() >= 14);
    EXPECT_LT(Last.right(), Extra->Toggle()->x());
    EXPECT_TRUE(TForm1().ExtraKeys->RowShown());

    auto Waits = [](const QWidget* Button) {
        const QWidget* Frame = Button->findChild<QWidget*>(QStringLiteral("WaitingFrame"));
        return Frame && Frame->isVisibleTo(Button);
    };
    ASSERT_EQ(ExtraKeys[5].Marks, gmMacron);
    QTest::mouseClick(MainForm->ToolButton3, Qt::LeftButton); // acute, at the start: it waits
    QTest::mouseClick(Extra->Key(5), Qt::LeftButton);
    EXPECT_TRUE(Waits(MainForm->ToolButton3) && Waits(Extra->Key(5)) && !Waits(MainForm->ToolButton1));
    QTest::mouseClick(MainForm->Keyboard1->SpecialKeys(BackspaceSlot), Qt::LeftButton);
    EXPECT_TRUE(Waits(MainForm->ToolButton3) && !Waits(Extra->Key(5)));
    QTest::mouseClick(MainForm->Keyboard1->Keys(4, 1), Qt::LeftButton); // alpha takes the acute
    EXPECT_FALSE(Waits(MainForm->ToolButton3));
    QTest::mouseClick(MainForm->Keyboard1->SpecialKeys(SpaceSlot), Qt::LeftButton);
    QTest::mouseClick(Extra->Key(5), Qt::LeftButton);
    QTest::mouseClick(Extra->Toggle(), Qt::LeftButton);
    EXPECT_FALSE(TForm1().ExtraKeys->RowShown());
    // Lumera output has no extra keys and no waiting marks.
    MainForm->SetOutputMode(omLumera);
    EXPECT_TRUE(!Extra->Toggle()->isVisible() && MainForm->Composer.WaitingMarks().empty());
}
