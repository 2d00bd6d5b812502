// Key sets: which cells and slots hold keys in each mode and across mode changes, the captions
// for the shift and caps states, fonts, and the settings that change nothing on screen.
#include "KeyboardTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPointer>

#include <set>
#include <utility>

namespace {

struct TModeKeySet {
    TKbMode Mode;
    std::array<int, 5> RowLengths; // occupied columns 1..n of rows 1 to 5
    std::set<int> Slots;
    int Buttons;
};

const std::vector<TModeKeySet> ModeKeySets {
    { kbmAlphaNumeric, { 0, 12, 12, 11, 10 }, { 0, 1, 2, 3, 4, 5, 6 }, 52 },
    { kbmAlphaNumericFunction, { 13, 12, 12, 11, 10 }, { 0, 1, 2, 3, 4, 5, 6 }, 65 },
    { kbmCalculator, { 2, 3, 3, 4, 2 }, { 4, 5, 7 }, 17 },
    { kbmNumeric, { 3, 3, 3, 2, 0 }, { 5 }, 12 },
};

void ExpectKeySet(const TKeyboard& Keyboard, const TModeKeySet& Expected)
{
    SCOPED_TRACE("mode " + std::to_string(Expected.Mode));
    for (int Row = 1; Row <= KeyRowCount; ++Row) {
        for (int Column = 1; Column <= KeyColumnCount; ++Column) {
            const bool Present = Column <= Expected.RowLengths[static_cast<std::size_t>(Row - 1)];
            EXPECT_EQ(Keyboard.Keys(Row, Column) != nullptr, Present) << "row " << Row << " column " << Column;
        }
    }
    for (int Slot = 0; Slot < SpecialKeySlotCount; ++Slot)
        EXPECT_EQ(Keyboard.SpecialKeys(Slot) != nullptr, Expected.Slots.contains(Slot)) << "slot " << Slot;
    // No key is left behind by an earlier key set, and no key sits in two places.
    EXPECT_EQ(static_cast<int>(Keyboard.findChildren<TSpeedButton*>().size()), Expected.Buttons);
}

TEST(KeySets, ANewKeypadShowsTheAlphaNumericKeysEnabledVisibleAndRaised)
{
    TKeyboard Keyboard;
    EXPECT_EQ(Keyboard.BevelOuter(), TPanel::bvNone);
    ExpectKeySet(Keyboard, ModeKeySets[0]);
    for (TSpeedButton* Key : AllKeys(Keyboard)) {
        EXPECT_TRUE(Key->Enabled());
        EXPECT_TRUE(Key->Visible());
        EXPECT_FALSE(Key->Flat());
        EXPECT_EQ(Key->parentWidget(), &Keyboard);
        EXPECT_EQ(Key->focusPolicy(), Qt::NoFocus);
    }
}

// Every mode change, also to the mode the keypad has, replaces every key: none is left behind
// and none sits in two places.
TEST(KeySets, EveryModeChangeLeavesExactlyTheNewModesKeys)
{
    TKeyboard Keyboard;
    // Every order of the four modes, each mode reached from each other one and from itself.
    const std::vector<int> Sequence { 0, 1, 2, 3, 0, 2, 0, 3, 1, 3, 2, 1, 0 };
    for (const int Index : Sequence) {
        const TModeKeySet& Expected = ModeKeySets[static_cast<std::size_t>(Index)];
        std::vector<QPointer<TSpeedButton>> Old;
        for (TSpeedButton* Key : AllKeys(Keyboard))
            Old.emplace_back(Key);
        Keyboard.SetKbMode(Expected.Mode);
        EXPECT_EQ(Keyboard.KeyboardMode(), Expected.Mode);
        ExpectKeySet(Keyboard, Expected);
        for (const QPointer<TSpeedButton>& Key : Old)
            EXPECT_TRUE(Key.isNull());
    }
    // A mode outside the enumeration builds the alphanumeric keys.
    Keyboard.SetKbMode(kbmCalculator);
    Keyboard.SetKbMode(static_cast<TKbMode>(9));
    ExpectKeySet(Keyboard, { static_cast<TKbMode>(9), ModeKeySets[0].RowLengths, ModeKeySets[0].Slots, ModeKeySets[0].Buttons });
    EXPECT_EQ(Keyboard.Keys(3, 1)->Caption(), "q");
}

TEST(KeySets, AlphaNumericSpecialKeysShowTheirOwnFaceInTheKeypadsSizeAndStyle)
{
    TKeyboard Keyboard;
    QFont KeypadFont(QStringLiteral("DejaVu Serif"));
    KeypadFont.setPixelSize(20);
    KeypadFont.setBold(true);
    Keyboard.setFont(KeypadFont);
    for (int Slot = TabSlot; Slot <= SpaceSlot; ++Slot) {
        const QFont Shown = Keyboard.SpecialKeys(Slot)->font();
        EXPECT_EQ(Shown.family(), QStringLiteral("ms sans serif")) << Slot;
        EXPECT_EQ(Shown.pixelSize(), 20) << Slot;
        EXPECT_TRUE(Shown.bold()) << Slot;
    }
    EXPECT_EQ(Keyboard.Keys(3, 1)->font(), KeypadFont);
    // The keys of the other modes take the keypad's font whole.
    Keyboard.SetKbMode(kbmCalculator);
    for (const int Slot : { EnterSlot, BackspaceSlot, PlusSlot })
        EXPECT_EQ(Keyboard.SpecialKeys(Slot)->font(), KeypadFont) << Slot;
}

// ---- Captions for the shift and caps states ----

// The typing rows show the shifted captions exactly when one of Shift and Caps is on.
TEST_F(KeyboardTest, TypingRowsShowTheTableTheStatesSelect)
{
    const std::vector<std::string> Plain { "1234567890-=", "qwertyuiop[]", "asdfghjkl;'", "zxcvbnm,./" };
    const std::vector<std::string> Shifted { "!@#$%^&*()_+", "QWERTYUIOP{}", "ASDFGHJKL:\"", "ZXCVBNM<>?" };
    Keyboard->SetKbMode(kbmAlphaNumericFunction);
    // Neither, Shift, Caps (which ends Shift), both, neither.
    const std::pair<int, const std::vector<std::string>*> Steps[] = {
        { -1, &Plain }, { LeftShiftSlot, &Shifted }, { CapsSlot, &Shifted }, { RightShiftSlot, &Plain },
        { CapsSlot, &Plain },
    };
    for (const auto& [Clicked, Rows] : Steps) {
        if (Clicked >= 0)
            Click(Slot(Clicked));
        for (int Row = 2; Row <= 5; ++Row) {
            std::string Shown;
            for (int Column = 1; Keyboard->Keys(Row, Column); ++Column)
                Shown += Keyboard->Keys(Row, Column)->Caption();
            EXPECT_EQ(Shown, (*Rows)[static_cast<std::size_t>(Row - 2)]) << "after slot " << Clicked << ", row " << Row;
        }
    }
}

TEST_F(KeyboardTest, PlainSettingsChangeNothingOnScreen)
{
    Keyboard->SetKbMode(kbmAlphaNumeric);
    QApplication::processEvents();
    const QImage Before = Keyboard->grab().toImage();
    QLineEdit Target;
    Keyboard->HighlightColor = Qt::red;
    Keyboard->CharCase = ecUpperCase;
    Keyboard->BeepOnKeyPressed = true;
    Keyboard->LinkedControl = &Target;
    QApplication::processEvents();
    EXPECT_EQ(Keyboard->grab().toImage(), Before);
    EXPECT_TRUE(Log.empty());
}

} // namespace
