// The main window's tooltips and its remembered place, offscreen.
#include "AppTestSupport.h"
#include "DesktopBehaviour.h"
#include "KeyHints.h"
#include "TSpeedButton.h"
#include "TToolButton.h"
#include "WindowPlace.h"

#include <QSettings>
#include <QTemporaryDir>

namespace {

TEST(MarkNames, NameEveryMarkOfTheKeypadFontInWords)
{
    const std::pair<char, const char*> Cases[] = {
        { ';', "Smooth breathing" }, { '\'', "Rough breathing" }, { '#', "Acute" }, { '~', "Circumflex" },
        { ':', "Grave" }, { '@', "Iota subscript" }, { '[', "Smooth breathing and acute" },
        { ']', "Rough breathing and acute" }, { '{', "Smooth breathing and grave" }, { '}', "Rough breathing and grave" },
        { '=', "Smooth breathing and circumflex" }, { '/', "Rough breathing and circumflex" }, { '`', "Diaeresis" },
        { '\\', "Diaeresis and acute" }, { 'a', "" }, { '"', "" }, { '1', "" },
    };
    for (const auto& [Code, Words] : Cases)
        EXPECT_EQ(MarkNames(Code).toStdString(), Words) << Code;
}

TEST_F(TAppTest, TooltipsNameTheMarksAsTheCaptionsStandAndTheSpecialKeys)
{
    AddDesktopBehaviour(*Form1, {});
    TKeyboard& Keyboard = *Form1->Keyboard1;
    auto Tip = [&](TSpeedButton* Key) { return KeyToolTip(Keyboard, *Key).toStdString(); };
    EXPECT_EQ(Tip(Keyboard.Keys(3, 11)), "Smooth breathing and acute");
    EXPECT_EQ(Tip(Keyboard.Keys(4, 1)), "");
    Keyboard.SpecialKeys(LeftShiftSlot)->Click();
    EXPECT_EQ(Tip(Keyboard.Keys(3, 11)), "Smooth breathing and grave");
    for (const int Slot : { TabSlot, CapsSlot, LeftShiftSlot, RightShiftSlot, EnterSlot, BackspaceSlot })
        EXPECT_FALSE(Tip(Keyboard.SpecialKeys(Slot)).empty()) << Slot;
    // In Unicode output Backspace takes a mark just clicked off again, and says so.
    const auto SpeaksOfMarks = [&] { return Tip(Keyboard.SpecialKeys(BackspaceSlot)).find("mark") != std::string::npos; };
    EXPECT_FALSE(SpeaksOfMarks());
    Form1->SetOutputMode(omUnicode);
    EXPECT_TRUE(SpeaksOfMarks());
    EXPECT_EQ(Form1->ToolButton2->toolTip().toStdString(), "Rough breathing");
    EXPECT_EQ(Form1->ToolButton15->toolTip().toStdString(), "Diaeresis and acute");
    // Shown although the window, which never takes the focus, is never the active one.
    EXPECT_TRUE(Form1->testAttribute(Qt::WA_AlwaysShowToolTips));
}

TEST_F(TAppTest, AStoredPlaceIsRestoredOnlyWhereItFitsOnAScreen)
{
    QTemporaryDir Config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Config.path());
    const QRect Default(Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height());
    const QRect Fits(40, 50, 500, 180);
    const QRect OffScreen(5000, 50, 500, 180);
    for (const auto& [Stored, Expected] : { std::pair { Fits, Fits }, std::pair { OffScreen, Default } }) {
        Form1->FormCreate(Form1);
        QSettings().setValue(MainWindowPlaceKey, Stored);
        TWindowPlace Place(*Form1, MainWindowPlaceKey, [] { Form1->FormCreate(Form1); });
        Place.Restore();
        EXPECT_EQ(QRect(Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height()), Expected);
        Place.Reset();
        EXPECT_EQ(QRect(Form1->Left(), Form1->Top(), Form1->Width(), Form1->Height()), Default);
        EXPECT_FALSE(QSettings().contains(MainWindowPlaceKey));
    }
}

} // namespace
