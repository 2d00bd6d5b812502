// What a click on a key does: the events it fires and in which order, the one-shot shift and
// caps lock, and what reaches the linked control.
#include "Keyboard.h"

#include "Messages.h"
#include "SysUtils.h"
#include "TSpeedButton.h"

#include <cassert>

void TKeyboard::DispatchClick(void (TKeyboard::*Handler)(TObject*), TObject* Sender)
{
    TSpeedButton* const Outer = KeyInClick;
    KeyInClick = qobject_cast<TSpeedButton*>(Sender);
    try {
        (this->*Handler)(Sender);
    } catch (...) {
        KeyInClick = Outer;
        throw;
    }
    KeyInClick = Outer;
}

void TKeyboard::ShiftClick(TObject* Sender)
{
    if (BeepOnKeyPressed)
        Beep();
    ShiftActiveValue = !ShiftActiveValue;
    try {
        if (OnSpecialKey)
            OnSpecialKey(this, Sender == SpecialKeys(LeftShiftSlot) ? skLeftShift : skRightShift);
        if (OnShiftStateChange)
            OnShiftStateChange(this, ShiftActiveValue);
    } catch (...) {
        // The keys show the new state even when a handler fails.
        RefreshShift();
        throw;
    }
    RefreshShift();
}

void TKeyboard::CapsClick(TObject* /*Sender*/)
{
    if (BeepOnKeyPressed)
        Beep();
    CapsActiveValue = !CapsActiveValue;
    ShiftActiveValue = false;
    try {
        if (OnSpecialKey)
            OnSpecialKey(this, skCaps);
        if (OnCapsStateChange)
            OnCapsStateChange(this, CapsActiveValue);
        // Also when shift was already off: a listener learns that caps ended any shift.
        if (OnShiftStateChange)
            OnShiftStateChange(this, false);
    } catch (...) {
        RefreshShift();
        throw;
    }
    RefreshShift();
}

void TKeyboard::KeyClick(TObject* Sender)
{
    // The one-shot shift ends after every key, even one whose handler fails.
    try {
        PressKey(Sender);
    } catch (...) {
        ReleaseShift();
        throw;
    }
    ReleaseShift();
}

void TKeyboard::PressKey(TObject* Sender)
{
    if (BeepOnKeyPressed)
        Beep();
    const auto* Key = qobject_cast<const TSpeedButton*>(Sender);
    assert(Key && "a key click comes from a key");
    if (!Key)
        return;

    if (KeyboardModeValue == kbmAlphaNumericFunction) {
        if (const std::optional<TSpecialKey> FunctionKey = FunctionKeyOfCaption(Key->Caption())) {
            if (OnSpecialKey)
                OnSpecialKey(this, *FunctionKey);
            return;
        }
    }

    if (Key == SpecialKeys(TabSlot) || Key == SpecialKeys(EnterSlot) || Key == SpecialKeys(BackspaceSlot)) {
        const TSpecialKey Special = Key == SpecialKeys(TabSlot) ? skTab : Key == SpecialKeys(EnterSlot) ? skEnter : skBackspace;
        if (OnSpecialKey)
            OnSpecialKey(this, Special);
        // Read only now: the handler may have changed or removed the linked control.
        QWidget* const Target = LinkedControl;
        if (!Target)
            return;
        switch (Special) {
        case skTab:
            Perform(Target, WM_CHAR, 9, 0);
            break;
        case skEnter:
            Perform(Target, WM_CHAR, 13, 0);
            break;
        default:
            Perform(Target, WM_KEYDOWN, 8, 0);
            if (QWidget* const StillLinked = LinkedControl)
                Perform(StillLinked, WM_CHAR, 8, 0);
            break;
        }
        return;
    }

    // A character key: the first character of its caption, in the case the states ask for.
    if (Key->Caption().empty())
        return;
    std::string Cased;
    switch (CharCase) {
    case ecUpperCase:
        Cased = UpperCase(Key->Caption());
        break;
    case ecLowerCase:
        Cased = LowerCase(Key->Caption());
        break;
    default:
        Cased = ShiftActiveValue != CapsActiveValue ? UpperCase(Key->Caption()) : LowerCase(Key->Caption());
        break;
    }
    const char Char = Cased.front();
    if (OnKey)
        OnKey(this, Char);
    if (QWidget* const Target = LinkedControl)
        Perform(Target, WM_CHAR, static_cast<unsigned char>(Char), 0);
}

void TKeyboard::ReleaseShift()
{
    if (!IsAlphaNumericMode() || !ShiftActiveValue)
        return;
    ShiftActiveValue = false;
    RefreshShift();
    if (OnShiftStateChange)
        OnShiftStateChange(this, false);
}

void TKeyboard::RefreshShift()
{
    // The Shift and Caps keys exist only in the alphanumeric modes.
    if (!IsAlphaNumericMode())
        return;
    const bool Bold = OptionsValue.Contains(BoldShiftIndicator);
    const auto ShowState = [&](std::initializer_list<TSpeedButton*> StateKeys, bool On) {
        if (On) {
            for (TSpeedButton* Key : StateKeys) {
                if (Key)
                    Key->Font().SetColor(HighlightColor);
            }
            if (Bold) {
                for (TSpeedButton* Key : StateKeys) {
                    if (!Key)
                        continue;
                    Key->SetParentFont(false);
                    Key->Font().SetStyle({ fsBold });
                }
            }
        } else {
            for (TSpeedButton* Key : StateKeys) {
                if (Key)
                    Key->Font().SetColor(Font().Color());
            }
            for (TSpeedButton* Key : StateKeys) {
                if (Key)
                    Key->SetParentFont(true);
            }
        }
    };
    ShowState({ SpecialKeys(LeftShiftSlot), SpecialKeys(RightShiftSlot) }, ShiftActiveValue);
    ShowState({ SpecialKeys(CapsSlot) }, CapsActiveValue);
    SetKeyCaptions();
    for (const int Slot : { BackspaceSlot, EnterSlot, TabSlot, SpaceSlot, LeftShiftSlot, RightShiftSlot, CapsSlot }) {
        if (TSpeedButton* Key = SpecialKeys(Slot))
            Key->Font().SetName(SpecialKeyFace);
    }
}
