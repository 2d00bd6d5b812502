// The disable and hide options, slot by slot and in both directions, and the flat look.
#include "KeyboardTestSupport.h"

#include <set>

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

using TKeySet = std::set<TSpeedButton*>;

// Exactly the keys Disabled are disabled and exactly the keys Hidden hidden.
void ExpectAspects(const TKeyboard& Keyboard, const TKeySet& Disabled, const TKeySet& Hidden)
{
    for (TSpeedButton* Key : AllKeys(Keyboard)) {
        EXPECT_EQ(Key->Enabled(), !Disabled.contains(Key)) << Key->Caption();
        EXPECT_EQ(Key->Visible(), !Hidden.contains(Key)) << Key->Caption();
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
            ExpectAspects(Keyboard, { Key }, {});
            Keyboard.SetOptions({ Pair.Hide });
            ExpectAspects(Keyboard, {}, { Key });
            Keyboard.SetOptions({ Pair.Disable, Pair.Hide });
            ExpectAspects(Keyboard, { Key }, { Key });
            Keyboard.SetOptions({});
            ExpectAspects(Keyboard, {}, {});
        }
    }
}

// The options stay across mode changes and act on the keys of each new mode; the Escape items
// act only on the first function key, and items for keys a mode lacks change nothing.
TEST(KeyOptions, OptionsActOnTheKeysEachModeHas)
{
    TKeyboard Keyboard;
    Keyboard.SetOptions({ DisableEscape, HideEscape, HideTab, DisableBackspace });
    ExpectAspects(Keyboard, { Keyboard.SpecialKeys(BackspaceSlot) }, { Keyboard.SpecialKeys(TabSlot) });
    Keyboard.SetKbMode(kbmCalculator);
    ExpectAspects(Keyboard, { Keyboard.SpecialKeys(BackspaceSlot) }, {});
    Keyboard.SetKbMode(kbmAlphaNumericFunction);
    TSpeedButton* Escape = Keyboard.Keys(1, 1);
    ExpectAspects(Keyboard, { Keyboard.SpecialKeys(BackspaceSlot), Escape }, { Keyboard.SpecialKeys(TabSlot), Escape });
    Keyboard.SetOptions({ HideEscape });
    ExpectAspects(Keyboard, {}, { Escape });
    Keyboard.SetOptions({});
    ExpectAspects(Keyboard, {}, {});

    for (const TKbMode Mode : { kbmCalculator, kbmNumeric }) {
        Keyboard.SetKbMode(Mode);
        Keyboard.SetOptions({ HideCaps, DisableTab, HideSpace, DisableLeftShift, HideRightShift, DisableEscape });
        ExpectAspects(Keyboard, {}, {});
    }
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
