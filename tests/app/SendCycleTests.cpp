// The send cycle while a window of KIVO's holds the focus (a dialog, say): the keys wait for
// the window manager to move the focus away, without holding up the event loop, and keys
// clicked meanwhile wait their turn.
#include "AppTestSupport.h"

#include "Keyboard.h"
#include "TSpeedButton.h"

#include <QTest>
#include <QTimer>

TEST_F(TAppTest, KeysClickedWhileTheFocusMovesAwayWaitTheirTurn)
{
    Application->FocusHandOverMilliseconds = 400;
    MainForm->SetAcceptFocus(true);
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm.get()));
    QTest::mouseClick(MainForm->Keyboard1->Keys(4, 1), Qt::LeftButton);
    const bool Waited = KeyEvents().empty();
    std::string SeenByTheLoop = "not yet";
    QTimer::singleShot(0, [&] { SeenByTheLoop = KeyEvents(); });
    QTest::mouseClick(MainForm->Keyboard1->Keys(4, 2), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return KeyEvents() == "+a -a +s -s"; }, 2000)) << KeyEvents();
    EXPECT_TRUE(Waited);
    EXPECT_EQ(SeenByTheLoop, "");
    EXPECT_FALSE(Application->Minimized());
    EXPECT_FALSE(MainForm->isMinimized());
}
