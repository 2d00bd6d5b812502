// The keypad on a real X server: real pointer clicks (xdotool) on its keys type into a linked
// line edit, and the line edit keeps the keyboard focus throughout.
#include "Keyboard.h"
#include "TApplication.h"
#include "TSpeedButton.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class KeyboardOnX : public testing::Test {
protected:
    void SetUp() override
    {
        Window = std::make_unique<QWidget>();
        Window->setWindowTitle(QStringLiteral("KIVO keypad end-to-end"));
        Edit = new QLineEdit(Window.get());
        Edit->setGeometry(0, 0, 587, 30);
        Keyboard = new TKeyboard(Window.get());
        Keyboard->SetBorderWidth(1);
        Keyboard->SetBounds(0, 30, 587, 145);
        Keyboard->LinkedControl = Edit;
        Window->resize(587, 175);
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get(), 10000));
        Window->activateWindow();
        Edit->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == Edit; }));
    }

    // Moves the X pointer to the key's centre and clicks the left button there.
    static void ClickOnX(TSpeedButton* Key)
    {
        ASSERT_NE(Key, nullptr);
        const QPoint Centre = Key->mapToGlobal(QPoint(Key->width() / 2, Key->height() / 2));
        const QStringList Arguments { QStringLiteral("mousemove"), QString::number(Centre.x()),
            QString::number(Centre.y()), QStringLiteral("click"), QStringLiteral("1") };
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), Arguments), 0);
    }

    void ExpectText(const QString& Expected)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Edit->text() == Expected; }))
            << Edit->text().toStdString() << " instead of " << Expected.toStdString();
    }

    std::unique_ptr<QWidget> Window;
    QLineEdit* Edit = nullptr;
    TKeyboard* Keyboard = nullptr;
};

TEST_F(KeyboardOnX, ClickedKeysTypeIntoTheLinkedEditWhichKeepsTheFocus)
{
    std::vector<std::string> Events;
    Keyboard->OnKey = [&](TObject*, char Char) { Events.push_back(std::string("key:") + Char); };
    Keyboard->OnShiftStateChange = [&](TObject*, bool On) { Events.push_back(On ? "shift:on" : "shift:off"); };

    ClickOnX(Keyboard->SpecialKeys(LeftShiftSlot));
    ClickOnX(Keyboard->Keys(3, 6)); // y
    ExpectText(QStringLiteral("Y"));
    ClickOnX(Keyboard->Keys(4, 1)); // a
    ClickOnX(Keyboard->SpecialKeys(SpaceSlot));
    ClickOnX(Keyboard->SpecialKeys(RightShiftSlot));
    ClickOnX(Keyboard->Keys(2, 7)); // & under shift
    ExpectText(QStringLiteral("Ya &"));
    ClickOnX(Keyboard->SpecialKeys(BackspaceSlot));
    ClickOnX(Keyboard->SpecialKeys(BackspaceSlot));
    ExpectText(QStringLiteral("Ya"));
    EXPECT_EQ(QApplication::focusWidget(), Edit);
    EXPECT_EQ(Events, (std::vector<std::string> { "shift:on", "key:Y", "shift:off", "key:a", "key: ", "shift:on", "key:&", "shift:off" }));
}

} // namespace

int main(int Argc, char** Argv)
{
    testing::InitGoogleTest(&Argc, Argv);
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "KeyboardEndToEndTests needs an X display (run it through scripts/with-x)\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    TApplication App(Argc, Argv);
    return RUN_ALL_TESTS();
}
