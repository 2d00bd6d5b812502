#include "Keyboard.h"

#include "TSpeedButton.h"

namespace {

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
    if (Slot == BackspaceSlot) {
        Key->Timing().RepeatTiming = [this]() -> std::optional<TRepeatTiming> {
            return BackspaceRepeat ? BackspaceRepeat() : std::nullopt;
        };
    }
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
    for (int Slot = TabSlot; Slot <= SpaceSlot; ++Slot)
        ShowSpecialKeyFace(SpecialKeys(Slot));

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
        const TCaptionTable Captions = AlphaRowCaptions(Row, State.ShiftActive, State.CapsActive);
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
