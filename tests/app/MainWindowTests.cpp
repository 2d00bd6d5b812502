// The main window on the recording backend: what each key, special key and accent button
// sends, the placement, the layout of its controls, and the banner buttons.
#include "AppTestSupport.h"

#include "FontSubstitution.h"
#include "Keyboard.h"
#include "TScreen.h"
#include "TSpeedButton.h"
#include "TToolButton.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

namespace {

struct TKeyCase {
    char Char;
    const char* Sent;
};

// Capitals need Shift; J and V are typed as their small letters; nothing else is mapped.
const TKeyCase KeyCases[] = {
    { 'j', "+j -j" },
    { 'J', "+j -j" },
    { 'v', "+v -v" },
    { 'V', "+v -v" },
    { 'A', "+Shift +A -A -Shift" },
    { 'K', "+Shift +K -K -Shift" },
    { ' ', "+U+20 -U+20" },
    { ';', "+; -;" },
    { '\'', "+' -'" },
};

} // namespace

TEST_F(TAppTest, KeyboardKeySendsTheCharacterWithJAndVMadeSmall)
{
    for (const TKeyCase& Case : KeyCases) {
        Backend->ClearCalls();
        MainForm->Keyboard1Key(MainForm->Keyboard1, Case.Char);
        EXPECT_EQ(KeyEvents(), Case.Sent) << "character '" << Case.Char << "'";
    }
}

TEST_F(TAppTest, SpecialKeysSendBackspaceTabAndEnterOnly)
{
    const std::pair<TSpecialKey, const char*> Cases[] = {
        { skBackspace, "+BackSpace -BackSpace" }, { skTab, "+Tab -Tab" }, { skEnter, "+Return -Return" },
        { skCaps, "" }, { skLeftShift, "" }, { skRightShift, "" }, { skEscape, "" }, { skF1, "" }, { skF12, "" },
    };
    for (const auto& [Key, Sent] : Cases) {
        Backend->ClearCalls();
        MainForm->Keyboard1SpecialKey(MainForm->Keyboard1, Key);
        EXPECT_EQ(KeyEvents(), Sent) << "special key " << int(Key);
        // Special keys go through SendKeyString, which processes no messages.
        EXPECT_EQ(Backend->CountOf(bckMessagesProcessed), 0U);
        EXPECT_TRUE(MainForm->isVisible());
        EXPECT_FALSE(MainForm->isMinimized());
    }
}

TEST_F(TAppTest, ClickedKeysReachTheSenderThroughTheKeypad)
{
    // Shift is one-shot: the shifted "j" key reports "J", which is typed as "j"; then "a".
    TKeyboard* Keypad = MainForm->Keyboard1;
    QTest::mouseClick(Keypad->SpecialKeys(LeftShiftSlot), Qt::LeftButton);
    QTest::mouseClick(Keypad->Keys(4, 7), Qt::LeftButton);
    QTest::mouseClick(Keypad->Keys(4, 1), Qt::LeftButton);
    QTest::mouseClick(Keypad->SpecialKeys(BackspaceSlot), Qt::LeftButton);
    EXPECT_EQ(KeyEvents(), "+j -j +a -a +BackSpace -BackSpace");
}

TEST_F(TAppTest, AccentButtonsSendTheirCharacters)
{
    const std::pair<TToolButton*, const char*> Cases[] = {
        { MainForm->ToolButton1, "+; -;" },           // ;
        { MainForm->ToolButton2, "+' -' +' -'" },   // two apostrophes
        { MainForm->ToolButton3, "+Shift +# -# -Shift" },   // #
        { MainForm->ToolButton4, "+Shift +~ -~ -Shift" },   // ~
        { MainForm->ToolButton5, "+Shift +: -: -Shift" },   // :
        { MainForm->ToolButton7, "+Shift +@ -@ -Shift" },   // @
        { MainForm->ToolButton8, "+[ -[" },           // [
        { MainForm->ToolButton9, "+] -]" },           // ]
        { MainForm->ToolButton10, "+Shift +{ -{ -Shift" },  // {
        { MainForm->ToolButton11, "+Shift +} -} -Shift" },  // }
        { MainForm->ToolButton12, "+= -=" },          // =
        { MainForm->ToolButton13, "+/ -/" },          // /
        { MainForm->ToolButton14, "+` -`" },          // `
        { MainForm->ToolButton15, "+\\ -\\" },          // backslash
    };
    for (const auto& [Button, Sent] : Cases) {
        Backend->ClearCalls();
        QTest::mouseClick(Button, Qt::LeftButton);
        EXPECT_EQ(KeyEvents(), Sent) << Button->objectName().toStdString();
    }
}

TEST_F(TAppTest, BackslashButtonTypesItsCaptionAsItIsAtTheClick)
{
    MainForm->ToolButton15->SetCaption("ab");
    QTest::mouseClick(MainForm->ToolButton15, Qt::LeftButton);
    EXPECT_EQ(KeyEvents(), "+a -a +b -b");
}

TEST_F(TAppTest, TheEmptyToolbarCellTakesNoClicks)
{
    TToolButton* Separator = MainForm->ToolButton6;
    QTest::mouseClick(MainForm->ToolBar1, Qt::LeftButton, {}, Separator->geometry().center());
    EXPECT_EQ(KeyEvents(), "");
}

TEST_F(TAppTest, ToolbarButtonsFillAGridOfFourColumns)
{
    // Columns at 3, 34, 65, 96 and rows at 2, 42, 82, 122, in button order, with the
    // separator in the first cell of the second row.
    const std::pair<TToolButton*, QRect> Cells[] = {
        { MainForm->ToolButton1, { 3, 2, 31, 40 } }, { MainForm->ToolButton2, { 34, 2, 31, 40 } },
        { MainForm->ToolButton3, { 65, 2, 31, 40 } }, { MainForm->ToolButton4, { 96, 2, 31, 40 } },
        { MainForm->ToolButton6, { 3, 42, 31, 40 } }, { MainForm->ToolButton5, { 34, 42, 31, 40 } },
        { MainForm->ToolButton7, { 65, 42, 31, 40 } }, { MainForm->ToolButton8, { 3, 82, 31, 40 } },
        { MainForm->ToolButton11, { 96, 82, 31, 40 } }, { MainForm->ToolButton12, { 3, 122, 31, 40 } },
        { MainForm->ToolButton15, { 96, 122, 31, 40 } },
    };
    for (const auto& [Button, Cell] : Cells)
        EXPECT_EQ(Button->geometry(), Cell) << Button->objectName().toStdString();
    EXPECT_EQ(MainForm->ToolBar1->width(), 127);
    EXPECT_EQ(MainForm->ToolBar1->geometry().right(), MainForm->width() - 1);
}

TEST_F(TAppTest, FormCreatePlacesTheWindowAcrossTheBottomOfTheScreen)
{
    // Qt's offscreen screen is 800 by 800 and has no window frame.
    ASSERT_EQ(Screen->Width(), 800);
    ASSERT_EQ(Screen->Height(), 800);
    EXPECT_EQ(MainForm->Left(), 0);
    EXPECT_EQ(MainForm->Top(), 570);
    EXPECT_EQ(MainForm->Width(), 800);
    EXPECT_EQ(MainForm->Height(), 202);
    // Qt's offscreen windows have a frame of their own: the outer frame is what is placed.
    const QRect Placed(0, 570, 800, 202);
    EXPECT_TRUE(QTest::qWaitFor([&] { return MainForm->frameGeometry() == Placed; }, 2000))
        << "frame " << MainForm->frameGeometry().x() << "," << MainForm->frameGeometry().y() << " "
        << MainForm->frameGeometry().width() << "x" << MainForm->frameGeometry().height();
    EXPECT_EQ(MainForm->Height(), 202);
    // The banner row, the keypad under it and the toolbar follow the window's size.
    const int ClientWidth = MainForm->width();
    const int ClientHeight = MainForm->height();
    EXPECT_EQ(MainForm->Panel1->geometry(), QRect(0, 0, ClientWidth - 127, ClientHeight));
    EXPECT_EQ(MainForm->Panel2->geometry(), QRect(0, 0, ClientWidth - 127, 30));
    EXPECT_EQ(MainForm->Keyboard1->geometry(), QRect(0, 30, ClientWidth - 127, ClientHeight - 30));
    EXPECT_EQ(MainForm->Panel3->geometry(), QRect(0, 0, 110, 30));
    EXPECT_EQ(MainForm->Panel4->geometry(), QRect(ClientWidth - 127 - 110, 0, 110, 30));
    EXPECT_EQ(MainForm->Label1->geometry(), QRect(110, 0, ClientWidth - 127 - 220, 30));
    EXPECT_EQ(MainForm->Button2->geometry(), QRect(2, 2, 102, 25));
}

TEST_F(TAppTest, MainWindowStaysOnTopAndNeverTakesTheFocus)
{
    EXPECT_TRUE(MainForm->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(MainForm->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(MainForm->ToolButton1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(MainForm->Button1->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(MainForm->windowTitle(), QStringLiteral("Lumera On-Screen Keyboard"));
}

TEST_F(TAppTest, BannerButtonsShowTheDialogsModallyWithoutSending)
{
    const std::pair<TButton*, TForm*> Cases[] = { { MainForm->Button1, About.get() }, { MainForm->Button2, Instructions.get() } };
    for (const auto& [Banner, Dialog] : Cases) {
        bool WasModal = false;
        TForm* Shown = Dialog;
        WhileModal(Dialog, [Shown] { QTest::mouseClick(Shown->findChild<TButton*>(QStringLiteral("Button1")), Qt::LeftButton); }, &WasModal);
        QTest::mouseClick(Banner, Qt::LeftButton);
        EXPECT_TRUE(WasModal) << Dialog->objectName().toStdString();
        EXPECT_FALSE(Dialog->isVisible());
        EXPECT_EQ(Dialog->ModalResult(), TForm::mrOk);
        EXPECT_EQ(KeyEvents(), "");
        EXPECT_FALSE(Application->Minimized());
    }
}

TEST_F(TAppTest, KeysShowTheKeypadFontsGreekWhileTypingTheCodes)
{
    // Lumera is not installed here: the captions are drawn through the display table.
    ASSERT_TRUE(IsFontSubstituted("Lumera"));
    EXPECT_EQ(MainForm->ToolButton1->GetText(), "   ; ");
    EXPECT_EQ(MainForm->ToolButton1->text(), QString::fromUcs4(U"   \u1FBF "));
    EXPECT_EQ(MainForm->Keyboard1->Keys(4, 1)->text(), QStringLiteral("α"));
    // Each letter key shows the letter of a Greek typewriter at its place, all the way along.
    EXPECT_EQ(DisplayText("Lumera", "abcdefghijklmnopqrstuvwxyz"),
        QString::fromUcs4(U"αβψδεφγηιξκλμνοπ\u037Eρστθωςχυζ"));
    EXPECT_EQ(DisplayText("Lumera", "PQRSUVWXYZ"), QString::fromUcs4(U"ΠQΡΣΘVWΧΥΖ"));
    EXPECT_EQ(MainForm->Keyboard1->SpecialKeys(TabSlot)->text(), QStringLiteral("Tab"));
    EXPECT_EQ(MainForm->Label1->text(), QStringLiteral("LUMERA ON-SCREEN KEYBOARD"));
    QTest::mouseClick(MainForm->Keyboard1->Keys(4, 1), Qt::LeftButton);
    EXPECT_EQ(KeyEvents(), "+a -a");
}

TEST_F(TAppTest, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn)
{
    std::string Shown;
    Application->OnException = [&Shown](const std::exception& Error) { Shown = Error.what(); };
    MainForm->Button1->OnClick = [](TObject*) { throw std::runtime_error("the handler failed"); };
    QTest::mouseClick(MainForm->Button1, Qt::LeftButton);
    Application->OnException = nullptr;
    EXPECT_EQ(Shown, "the handler failed");
    QTest::mouseClick(MainForm->ToolButton1, Qt::LeftButton);
    EXPECT_EQ(KeyEvents(), "+; -;");
}

namespace {

// A keystroke sink that fails, as a lost display connection would.
class TFailingBackend : public TRecordingInputBackend {
public:
    void SendKey(TNamedKey, bool) override { throw std::runtime_error("the display is gone"); }
    bool SendCharacterKey(char32_t, bool) override { throw std::runtime_error("the display is gone"); }
};

} // namespace

TEST_F(TAppTest, TheWindowComesBackEvenWhenSendingFails)
{
    // Where the application holds the focus, the send cycle iconifies it first.
    MainForm->SetAcceptFocus(true);
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm.get()));
    std::string Shown;
    Application->OnException = [&Shown](const std::exception& Error) { Shown = Error.what(); };
    auto Previous = SetInputBackend(std::make_unique<TFailingBackend>());
    QTest::mouseClick(MainForm->ToolButton1, Qt::LeftButton);
    SetInputBackend(std::move(Previous));
    Application->OnException = nullptr;
    EXPECT_EQ(Shown, "the display is gone");
    EXPECT_FALSE(Application->Minimized());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->isMinimized());
}

TEST_F(TAppTest, KeypadTakesItsStoredSettings)
{
    TKeyboard* Keypad = MainForm->Keyboard1;
    EXPECT_EQ(Keypad->KeyboardMode(), kbmAlphaNumeric);
    EXPECT_EQ(Keypad->HighlightColor, clBlack);
    EXPECT_TRUE(Keypad->Options().Empty());
    EXPECT_EQ(Keypad->BorderWidth(), 1);
    EXPECT_EQ(Keypad->BevelOuter(), bvNone);
    EXPECT_EQ(Keypad->Font().Name(), "Lumera");
    EXPECT_EQ(Keypad->Font().Height(), 20);
    EXPECT_TRUE(Keypad->Font().Style().Contains(fsBold));
    EXPECT_EQ(Keypad->cursor().shape(), Qt::PointingHandCursor);
    // Keys take the keypad's font; the accent toolbar has its own, not bold.
    EXPECT_EQ(Keypad->Keys(4, 1)->Font().Name(), "Lumera");
    EXPECT_EQ(MainForm->ToolBar1->Font().Height(), 29);
    EXPECT_FALSE(MainForm->ToolButton1->Font().Style().Contains(fsBold));
    EXPECT_EQ(MainForm->Label1->Font().Name(), "Tempus Sans ITC");
    EXPECT_EQ(MainForm->Button1->Font().Name(), "MS Sans Serif");
}
