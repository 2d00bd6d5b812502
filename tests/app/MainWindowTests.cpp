// The main window on the recording backend: what the special keys send, the placement and the
// layout of its controls, what the keys show, and failing handlers and senders. What the keys
// and accent buttons type is checked on a real X server (AppEndToEndTests).
#include "AppTestSupport.h"

#include "FontSubstitution.h"
#include "Keyboard.h"
#include "TButton.h"
#include "TSpeedButton.h"
#include "TToolButton.h"

#include <QScopeGuard>
#include <QScreen>
#include <QTest>

#include <stdexcept>

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

TEST_F(TAppTest, BackslashButtonTypesItsCaptionAsItIsAtTheClick)
{
    MainForm->ToolButton15->SetCaption("ab");
    QTest::mouseClick(MainForm->ToolButton15, Qt::LeftButton);
    EXPECT_EQ(KeyEvents(), "+a -a +b -b");
}

TEST_F(TAppTest, FormCreatePlacesTheWindowAcrossTheBottomOfTheScreen)
{
    // Qt's offscreen screen is 800 by 800.
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(800, 800));
    const QRect Placed(0, 570, 800, 202);
    EXPECT_EQ(QRect(MainForm->Left(), MainForm->Top(), MainForm->Width(), MainForm->Height()), Placed);
    // Qt's offscreen windows have a frame of their own: the outer frame is what is placed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return MainForm->frameGeometry() == Placed; }, 2000))
        << testing::PrintToString(MainForm->frameGeometry());
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

TEST_F(TAppTest, KeysShowTheKeypadFontsGreekWhileTypingTheCodes)
{
    // Lumera is not installed here: the captions are drawn through the display table.
    ASSERT_TRUE(IsFontSubstituted("Lumera"));
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

namespace {

// A keystroke sink that fails, as a lost display connection would.
class TFailingBackend : public TRecordingInputBackend {
public:
    void SendKey(TNamedKey, bool) override { throw std::runtime_error("the display is gone"); }
    bool SendCharacterKey(char32_t, bool) override { throw std::runtime_error("the display is gone"); }
};

} // namespace

TEST_F(TAppTest, AFailingHandlerOrSenderIsShownAndTheWindowComesBackAndGoesOn)
{
    std::string Shown;
    Application->OnException = [&Shown](const std::exception& Error) { Shown = Error.what(); };
    const auto Unhandled = qScopeGuard([] { Application->OnException = nullptr; });
    MainForm->Button1->OnClick = [](TObject*) { throw std::runtime_error("the handler failed"); };
    QTest::mouseClick(MainForm->Button1, Qt::LeftButton);
    EXPECT_EQ(Shown, "the handler failed");

    // Where the application holds the focus, the send cycle iconifies it first.
    MainForm->SetAcceptFocus(true);
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm.get()));
    auto Recording = SetInputBackend(std::make_unique<TFailingBackend>());
    QTest::mouseClick(MainForm->ToolButton1, Qt::LeftButton);
    SetInputBackend(std::move(Recording));
    EXPECT_EQ(Shown, "the display is gone");
    EXPECT_FALSE(Application->Minimized());
    EXPECT_TRUE(MainForm->isVisible());
    EXPECT_FALSE(MainForm->isMinimized());
    QTest::mouseClick(MainForm->ToolButton1, Qt::LeftButton);
    EXPECT_EQ(KeyEvents(), "+; -;");
}

TEST_F(TAppTest, TitleBannerAndBackspaceSayWhatTheOutputTypes)
{
    const struct {
        TOutputMode Mode;
        const char* Title;
        const char* Banner;
        const char* Backspace;
    } Cases[] = {
        { omUnicode, "KIVO Polytonic Greek Keyboard", "KIVO POLYTONIC GREEK KEYBOARD", "\u232B" },
        { omLumera, "Lumera On-Screen Keyboard", "LUMERA ON-SCREEN KEYBOARD", "<" },
    };
    for (const auto& Case : Cases) {
        MainForm->SetOutputMode(Case.Mode);
        EXPECT_EQ(MainForm->windowTitle(), QString::fromUtf8(Case.Title));
        EXPECT_EQ(MainForm->Label1->text(), QString::fromUtf8(Case.Banner));
        EXPECT_EQ(MainForm->Keyboard1->SpecialKeys(BackspaceSlot)->text(), QString::fromUtf8(Case.Backspace));
        // What the key types stays its code.
        EXPECT_EQ(MainForm->Keyboard1->SpecialKeys(BackspaceSlot)->Caption(), "<");
    }
}
