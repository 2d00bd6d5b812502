// What a click on a key does: the events it fires and in which order, the one-shot shift and
// caps lock, and what reaches the linked control.
#include "Keyboard.h"

#include "Messages.h"
#include "SysUtils.h"
#include "TSpeedButton.h"

#include <QScopeGuard>

#include <cassert>

void TKeyboard::DispatchClick(void (TKeyboard::*Handler)(TObject*), TObject* Sender)
{
    const auto Outer = qScopeGuard([this, Outer = KeyInClick] { KeyInClick = Outer; });
    KeyInClick = qobject_cast<TSpeedButton*>(Sender);
    (this->*Handler)(Sender);
}

void TKeyboard::ShiftClick(TObject* Sender)
{
    if (BeepOnKeyPressed)
        Beep();
    const bool ShiftOn = State.ClickShift();
    // The keys show the new state even when a handler fails.
    const auto Refresh = qScopeGuard([this] { RefreshShift(); });
    if (OnSpecialKey)
        OnSpecialKey(this, Sender == SpecialKeys(LeftShiftSlot) ? skLeftShift : skRightShift);
    if (OnShiftStateChange)
        OnShiftStateChange(this, ShiftOn);
}

void TKeyboard::CapsClick(TObject* /*Sender*/)
{
    if (BeepOnKeyPressed)
        Beep();
    const bool CapsOn = State.ClickCaps();
    const auto Refresh = qScopeGuard([this] { RefreshShift(); });
    if (OnSpecialKey)
        OnSpecialKey(this, skCaps);
    if (OnCapsStateChange)
        OnCapsStateChange(this, CapsOn);
    // Also when shift was already off: a listener learns that caps ended any shift.
    if (OnShiftStateChange)
        OnShiftStateChange(this, false);
}

void TKeyboard::KeyClick(TObject* Sender)
{
    // The one-shot shift ends after every key, even one whose handler fails.
    const auto Release = qScopeGuard([this] { ReleaseShift(); });
    PressKey(Sender);
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
    const char Char = State.CharacterOf(Key->Caption(), CharCase);
    if (OnKey)
        OnKey(this, Char);
    if (QWidget* const Target = LinkedControl)
        Perform(Target, WM_CHAR, static_cast<unsigned char>(Char), 0);
}

void TKeyboard::ReleaseShift()
{
    if (!IsAlphaNumericMode() || !State.ReleaseShift())
        return;
    RefreshShift();
    if (OnShiftStateChange)
        OnShiftStateChange(this, false);
}

void TKeyboard::ShowSpecialKeyFace(TSpeedButton* Key, bool Bold) const
{
    // Only what is set here is the key's own; the rest follows the keypad's font.
    QFont Face;
    Face.setFamily(QString::fromLatin1(SpecialKeyFace));
    if (Bold)
        Face.setBold(true);
    Key->setFont(Face);
}

void TKeyboard::RefreshShift()
{
    // The Shift and Caps keys exist only in the alphanumeric modes.
    if (!IsAlphaNumericMode())
        return;
    const bool Bold = OptionsValue.Contains(BoldShiftIndicator);
    const auto ShowState = [&](std::initializer_list<int> Slots, bool On) {
        for (const int Slot : Slots) {
            TSpeedButton* Key = SpecialKeys(Slot);
            if (!Key)
                continue;
            // Off: the keypad's own colour again, through the inherited palette.
            Key->SetCaptionColor(On ? std::optional<QColor>(HighlightColor) : std::nullopt);
            ShowSpecialKeyFace(Key, On && Bold);
        }
    };
    ShowState({ LeftShiftSlot, RightShiftSlot }, State.ShiftActive);
    ShowState({ CapsSlot }, State.CapsActive);
    SetKeyCaptions();
}
