#include "Keyboard.h"

#include "Messages.h"
#include "SysUtils.h"
#include "TSpeedButton.h"

#include <cassert>

namespace {

// The face of the special keys' captions in the alphanumeric modes, whatever the keypad's font.
const std::string SpecialKeyFace = "ms sans serif";

struct TSlotOptions {
    TOptionItems Disable;
    TOptionItems Hide;
};

// The option items of slots 0 to 6, in slot order (not the order of the items).
constexpr std::array<TSlotOptions, 7> SlotOptions { {
    { DisableTab, HideTab },
    { DisableCaps, HideCaps },
    { DisableLeftShift, HideLeftShift },
    { DisableRightShift, HideRightShift },
    { DisableEnter, HideEnter },
    { DisableBackspace, HideBackspace },
    { DisableSpace, HideSpace },
} };

constexpr std::array<int, 4> AlphaNumericRowLengths { 12, 12, 11, 10 }; // rows 2 to 5

} // namespace

TKeyboard::TKeyboard(QWidget* Owner)
    : TPanel(Owner)
{
    ShiftActiveValue = false;
    CapsActiveValue = false;
    SetBevelOuter(bvNone);
    CreateKeys();
}

void TKeyboard::SetKbMode(TKbMode Mode)
{
    KeyboardModeValue = Mode;
    CreateKeys();
}

void TKeyboard::SetFlatKeys(bool Flat)
{
    FlatKeysValue = Flat;
    RefreshKeysAspect();
}

void TKeyboard::SetOptions(TOptions Options)
{
    OptionsValue = Options;
    RefreshKeysAspect();
}

TSpeedButton* TKeyboard::Keys(int Row, int Column) const
{
    if (Row < 1 || Row > KeyRowCount || Column < 1 || Column > KeyColumnCount)
        return nullptr;
    return KeyGrid[static_cast<std::size_t>(Row - 1)][static_cast<std::size_t>(Column - 1)];
}

TSpeedButton* TKeyboard::SpecialKeys(int Slot) const
{
    if (Slot < 0 || Slot >= SpecialKeySlotCount)
        return nullptr;
    return SpecialKeySlots[static_cast<std::size_t>(Slot)];
}

bool TKeyboard::IsAlphaNumericMode() const
{
    return KeyboardModeValue != kbmCalculator && KeyboardModeValue != kbmNumeric;
}

// ---- Building the key sets ----

void TKeyboard::CreateKeys()
{
    for (TSpeedButton*& Key : SpecialKeySlots)
        DestroyKey(Key);
    for (auto& Row : KeyGrid) {
        for (TSpeedButton*& Key : Row)
            DestroyKey(Key);
    }

    switch (KeyboardModeValue) {
    case kbmCalculator:
        CreateCalculatorKeys();
        break;
    case kbmNumeric:
        CreateNumericKeys();
        break;
    default:
        CreateAlphaNumericKeys();
        break;
    }
    RefreshKeysAspect();
}

void TKeyboard::DestroyKey(TSpeedButton*& Key)
{
    if (!Key)
        return;
    if (Key == KeyInClick) {
        // Qt is still inside this button's click: take it off the keypad now, free it after.
        Key->hide();
        Key->setParent(nullptr);
        Key->deleteLater();
        KeyInClick = nullptr;
    } else {
        delete Key;
    }
    Key = nullptr;
}

TSpeedButton* TKeyboard::CreateGridKey(int Row, int Column, const std::string& Caption)
{
    auto* Key = new TSpeedButton(this);
    KeyGrid[static_cast<std::size_t>(Row - 1)][static_cast<std::size_t>(Column - 1)] = Key;
    Key->OnClick = [this](TObject* Sender) { DispatchClick(&TKeyboard::KeyClick, Sender); };
    Key->SetCaption(Caption);
    return Key;
}

TSpeedButton* TKeyboard::CreateSpecialKey(int Slot, const std::string& Caption)
{
    auto* Key = new TSpeedButton(this);
    SpecialKeySlots[static_cast<std::size_t>(Slot)] = Key;
    Key->SetCaption(Caption);
    Key->OnClick = [this](TObject* Sender) { DispatchClick(&TKeyboard::KeyClick, Sender); };
    return Key;
}

void TKeyboard::CreateAlphaNumericKeys()
{
    CreateSpecialKey(TabSlot, "Tab");
    CreateSpecialKey(CapsSlot, "Caps");
    CreateSpecialKey(LeftShiftSlot, "Shift");
    CreateSpecialKey(RightShiftSlot, "Shift");
    CreateSpecialKey(EnterSlot, "Enter");
    CreateSpecialKey(BackspaceSlot, "<");
    CreateSpecialKey(SpaceSlot, " ");
    for (const int Slot : { LeftShiftSlot, RightShiftSlot })
        SpecialKeys(Slot)->OnClick = [this](TObject* Sender) { DispatchClick(&TKeyboard::ShiftClick, Sender); };
    SpecialKeys(CapsSlot)->OnClick = [this](TObject* Sender) { DispatchClick(&TKeyboard::CapsClick, Sender); };
    // Only the face changes: the special keys keep the size, style and colour of the keypad's
    // font as it is now, and no longer follow it.
    for (int Slot = TabSlot; Slot <= SpaceSlot; ++Slot)
        SpecialKeys(Slot)->Font().SetName(SpecialKeyFace);

    if (KeyboardModeValue == kbmAlphaNumericFunction) {
        for (int Column = 1; Column <= static_cast<int>(FunctionRowCaptions.size()); ++Column)
            CreateGridKey(1, Column, {});
    }
    for (int Row = 2; Row <= KeyRowCount; ++Row) {
        for (int Column = 1; Column <= AlphaNumericRowLengths[static_cast<std::size_t>(Row - 2)]; ++Column)
            CreateGridKey(Row, Column, {});
    }
    Resize();
    SetKeyCaptions();
}

void TKeyboard::CreateCalculatorKeys()
{
    CreateSpecialKey(EnterSlot, "Enter");
    CreateSpecialKey(BackspaceSlot, "<");
    CreateSpecialKey(PlusSlot, "+");
    for (int Row = 1; Row <= KeyRowCount; ++Row) {
        const TCaptionTable Captions = CalculatorRowCaptions(Row);
        for (int Column = 1; Column <= static_cast<int>(Captions.size()); ++Column)
            CreateGridKey(Row, Column, CaptionOf(Captions, Column));
    }
    Resize();
}

void TKeyboard::CreateNumericKeys()
{
    CreateSpecialKey(BackspaceSlot, "<");
    for (int Row = 1; Row <= KeyRowCount; ++Row) {
        const TCaptionTable Captions = NumericRowCaptions(Row);
        for (int Column = 1; Column <= static_cast<int>(Captions.size()); ++Column)
            CreateGridKey(Row, Column, CaptionOf(Captions, Column));
    }
    Resize();
}

void TKeyboard::SetKeyCaptions()
{
    // The calculator and numeric captions are fixed, and those cells are not the typing rows.
    if (!IsAlphaNumericMode())
        return;
    if (KeyboardModeValue == kbmAlphaNumericFunction) {
        for (int Column = 1; Column <= static_cast<int>(FunctionRowCaptions.size()); ++Column)
            Keys(1, Column)->SetCaption(CaptionOf(FunctionRowCaptions, Column));
    }
    for (int Row = 2; Row <= KeyRowCount; ++Row) {
        const TCaptionTable Captions = AlphaRowCaptions(Row, ShiftActiveValue, CapsActiveValue);
        for (int Column = 1; Column <= static_cast<int>(Captions.size()); ++Column)
            Keys(Row, Column)->SetCaption(CaptionOf(Captions, Column));
    }
}

void TKeyboard::RefreshKeysAspect()
{
    for (auto& Row : KeyGrid) {
        for (TSpeedButton* Key : Row) {
            if (Key)
                Key->SetFlat(FlatKeysValue);
        }
    }
    for (std::size_t Slot = 0; Slot < SlotOptions.size(); ++Slot) {
        TSpeedButton* Key = SpecialKeySlots[Slot];
        if (!Key)
            continue;
        Key->SetFlat(FlatKeysValue);
        Key->SetEnabled(!OptionsValue.Contains(SlotOptions[Slot].Disable));
        Key->SetVisible(!OptionsValue.Contains(SlotOptions[Slot].Hide));
    }
    if (TSpeedButton* Plus = SpecialKeySlots[PlusSlot])
        Plus->SetFlat(FlatKeysValue);
    if (KeyboardModeValue == kbmAlphaNumericFunction) {
        if (TSpeedButton* Escape = Keys(1, 1)) {
            Escape->SetEnabled(!OptionsValue.Contains(DisableEscape));
            Escape->SetVisible(!OptionsValue.Contains(HideEscape));
        }
    }
}

// ---- Layout ----

void TKeyboard::Resize()
{
    TPanel::Resize();
    switch (KeyboardModeValue) {
    case kbmCalculator:
        ResizeCalculatorKeys();
        break;
    case kbmNumeric:
        ResizeNumericKeys();
        break;
    default:
        ResizeAlphaNumericKeys();
        break;
    }
}

TKeyMetrics TKeyboard::CurrentMetrics() const
{
    TLayoutFrame Frame;
    Frame.Width = width();
    Frame.Height = height();
    Frame.BorderWidth = BorderWidth();
    Frame.BevelAllowance = (BevelInner() != bvNone ? BevelWidth() : 0) + (BevelOuter() != bvNone ? BevelWidth() : 0);
    return ComputeKeyMetrics(KeyboardModeValue, Frame);
}

namespace {

void Place(TSpeedButton* Key, const TKeyBounds& Bounds)
{
    if (Key)
        Key->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height);
}

} // namespace

void TKeyboard::ResizeAlphaNumericKeys()
{
    const TKeyMetrics Metrics = CurrentMetrics();
    for (int Slot = TabSlot; Slot <= SpaceSlot; ++Slot)
        Place(SpecialKeys(Slot), AlphaNumericSpecialKeyBounds(Metrics, Slot));
    for (int Row = 1; Row <= KeyRowCount; ++Row) {
        for (int Column = 1; Column <= KeyColumnCount; ++Column) {
            if (TSpeedButton* Key = Keys(Row, Column))
                Place(Key, AlphaNumericGridKeyBounds(Metrics, Row, Column));
        }
    }
}

void TKeyboard::ResizeCalculatorKeys()
{
    const TKeyMetrics Metrics = CurrentMetrics();
    for (const int Slot : { EnterSlot, BackspaceSlot, PlusSlot })
        Place(SpecialKeys(Slot), CalculatorSpecialKeyBounds(Metrics, Slot));
    for (int Row = 1; Row <= KeyRowCount; ++Row) {
        for (int Column = 1; Column <= KeyColumnCount; ++Column) {
            if (TSpeedButton* Key = Keys(Row, Column))
                Place(Key, PlainGridKeyBounds(Metrics, Row, Column));
        }
    }
}

void TKeyboard::ResizeNumericKeys()
{
    const TKeyMetrics Metrics = CurrentMetrics();
    Place(SpecialKeys(BackspaceSlot), NumericSpecialKeyBounds(Metrics, BackspaceSlot));
    for (int Row = 1; Row <= KeyRowCount; ++Row) {
        for (int Column = 1; Column <= KeyColumnCount; ++Column) {
            if (TSpeedButton* Key = Keys(Row, Column))
                Place(Key, PlainGridKeyBounds(Metrics, Row, Column));
        }
    }
}

// ---- Clicks ----

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
