// The disable and hide options, slot by slot and in both directions, and the flat look.
#include "KeyboardTestSupport.h"

namespace {

struct TSlotOptionPair {
    int Slot;
    TOptionItems Disable;
    TOptionItems Hide;
};

const std::vector<TSlotOptionPair> SlotOptionPairs {
    { TabSlot, DisableTab, HideTab },
    { CapsSlot, DisableCaps, HideCaps },
    { LeftShiftSlot, DisableLeftShift, HideLeftShift },
    { RightShiftSlot, DisableRightShift, HideRightShift },
    { EnterSlot, DisableEnter, HideEnter },
    { BackspaceSlot, DisableBackspace, HideBackspace },
    { SpaceSlot, DisableSpace, HideSpace },
};

// Every key but Except is enabled and visible.
void ExpectOthersUntouched(const TKeyboard& Keyboard, const TSpeedButton* Except)
{
    for (TSpeedButton* Key : AllKeys(Keyboard)) {
        if (Key == Except)
            continue;
        EXPECT_TRUE(Key->Enabled() && Key->Visible()) << Key->Caption();
    }
}

TEST(KeyOptions, EachSlotAnswersToItsOwnDisableAndHideItemsInBothDirections)
{
    for (const TKbMode Mode : { kbmAlphaNumeric, kbmAlphaNumericFunction }) {
        TKeyboard Keyboard;
        Keyboard.SetKbMode(Mode);
        for (const TSlotOptionPair& Pair : SlotOptionPairs) {
            SCOPED_TRACE("mode " + std::to_string(Mode) + " slot " + std::to_string(Pair.Slot));
            TSpeedButton* Key = Keyboard.SpecialKeys(Pair.Slot);
            Keyboard.SetOptions({ Pair.Disable });
            EXPECT_FALSE(Key->Enabled());
            EXPECT_TRUE(Key->Visible());
            ExpectOthersUntouched(Keyboard, Key);
            Keyboard.SetOptions({ Pair.Hide });
            EXPECT_TRUE(Key->Enabled());
            EXPECT_FALSE(Key->Visible());
            ExpectOthersUntouched(Keyboard, Key);
            Keyboard.SetOptions({ Pair.Disable, Pair.Hide });
            EXPECT_FALSE(Key->Enabled());
            EXPECT_FALSE(Key->Visible());
            Keyboard.SetOptions({});
            EXPECT_TRUE(Key->Enabled());
            EXPECT_TRUE(Key->Visible());
        }
    }
}

TEST(KeyOptions, EscapeItemsActOnlyOnTheFirstFunctionKey)
{
    TKeyboard Keyboard;
    Keyboard.SetOptions({ DisableEscape, HideEscape });
    ExpectOthersUntouched(Keyboard, nullptr);

    Keyboard.SetKbMode(kbmAlphaNumericFunction); // the options stay and apply to the new keys
    EXPECT_FALSE(Keyboard.Keys(1, 1)->Enabled());
    EXPECT_FALSE(Keyboard.Keys(1, 1)->Visible());
    ExpectOthersUntouched(Keyboard, Keyboard.Keys(1, 1));

    Keyboard.SetOptions({ HideEscape });
    EXPECT_TRUE(Keyboard.Keys(1, 1)->Enabled());
    EXPECT_FALSE(Keyboard.Keys(1, 1)->Visible());
    Keyboard.SetOptions({});
    EXPECT_TRUE(Keyboard.Keys(1, 1)->Visible());
}

TEST(KeyOptions, ItemsForKeysTheModeLacksChangeNothing)
{
    for (const TKbMode Mode : { kbmCalculator, kbmNumeric }) {
        TKeyboard Keyboard;
        Keyboard.SetKbMode(Mode);
        Keyboard.SetOptions({ HideCaps, DisableTab, HideSpace, DisableLeftShift, HideRightShift, DisableEscape });
        ExpectOthersUntouched(Keyboard, nullptr);
    }
}

TEST(KeyOptions, OptionsApplyToTheKeysOfANewMode)
{
    TKeyboard Keyboard;
    Keyboard.SetKbMode(kbmCalculator);
    Keyboard.SetOptions({ HideTab, DisableBackspace });
    EXPECT_FALSE(Keyboard.SpecialKeys(BackspaceSlot)->Enabled());
    Keyboard.SetKbMode(kbmAlphaNumeric);
    EXPECT_FALSE(Keyboard.SpecialKeys(TabSlot)->Visible());
    EXPECT_FALSE(Keyboard.SpecialKeys(BackspaceSlot)->Enabled());
}

TEST(KeyOptions, FlatKeysReachEveryKeyAndStayAcrossModeChanges)
{
    TKeyboard Keyboard;
    Keyboard.SetFlatKeys(true);
    for (const TKbMode Mode : { kbmCalculator, kbmAlphaNumericFunction, kbmNumeric, kbmAlphaNumeric }) {
        Keyboard.SetKbMode(Mode);
        for (TSpeedButton* Key : AllKeys(Keyboard))
            EXPECT_TRUE(Key->Flat()) << Mode << " " << Key->Caption();
    }
    Keyboard.SetKbMode(kbmCalculator);
    EXPECT_TRUE(Keyboard.SpecialKeys(PlusSlot)->autoRaise());
    Keyboard.SetFlatKeys(false);
    for (TSpeedButton* Key : AllKeys(Keyboard))
        EXPECT_FALSE(Key->Flat()) << Key->Caption();
}

} // namespace
