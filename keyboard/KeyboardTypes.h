#pragma once
// The keypad's enumerations, option set and event types. Their ordinal values are part of the
// interface: events carry them and stored window descriptions hold them.
#include "Classes.h"
#include "Sets.h"

#include <QObject>

#include <cstdint>
#include <functional>

// In a namespace of its own for Qt's meta-object system: a window description names the mode.
namespace KeyboardEnums {
Q_NAMESPACE
enum TKbMode : std::uint8_t {
    kbmAlphaNumeric = 0,
    kbmAlphaNumericFunction = 1,
    kbmCalculator = 2,
    kbmNumeric = 3,
};
Q_ENUM_NS(TKbMode)
} // namespace KeyboardEnums
using KeyboardEnums::TKbMode;
using enum KeyboardEnums::TKbMode;

enum TSpecialKey : std::uint8_t {
    skTab = 0,
    skCaps = 1,
    skLeftShift = 2,
    skRightShift = 3,
    skEnter = 4,
    skBackspace = 5,
    skEscape = 6,
    skF1 = 7,
    skF2 = 8,
    skF3 = 9,
    skF4 = 10,
    skF5 = 11,
    skF6 = 12,
    skF7 = 13,
    skF8 = 14,
    skF9 = 15,
    skF10 = 16,
    skF11 = 17,
    skF12 = 18,
};

enum TOptionItems : std::uint8_t {
    DisableTab = 0,
    DisableCaps = 1,
    DisableLeftShift = 2,
    DisableRightShift = 3,
    DisableSpace = 4,
    DisableEnter = 5,
    DisableBackspace = 6,
    DisableEscape = 7,
    HideTab = 8,
    HideCaps = 9,
    HideLeftShift = 10,
    HideRightShift = 11,
    HideSpace = 12,
    HideEnter = 13,
    HideBackspace = 14,
    HideEscape = 15,
    BoldShiftIndicator = 16,
};

using TOptions = TSet<TOptionItems, std::uint32_t>;

// The case rule of an edit control, as the keypad applies it to the characters it sends.
enum TEditCharCase : std::uint8_t { ecNormal = 0, ecUpperCase = 1, ecLowerCase = 2 };

// The keypad passes itself as Sender, never the key button.
using TKeyEvent = std::function<void(TObject* Sender, char Char)>;
using TSpecialKeyEvent = std::function<void(TObject* Sender, TSpecialKey SpecialKey)>;
using TShiftStateChange = std::function<void(TObject* Sender, bool ShiftOn)>;
using TCapsStateChange = std::function<void(TObject* Sender, bool CapsOn)>;

// The storage of the keys: grid rows and columns counted from 1, special-key slots from 0.
constexpr int KeyRowCount = 5;
constexpr int KeyColumnCount = 20;
constexpr int SpecialKeySlotCount = 8;

// Special-key slots. Space follows Backspace here, and Escape has none: it is a grid key.
enum TSpecialKeySlot : std::uint8_t {
    TabSlot = 0,
    CapsSlot = 1,
    LeftShiftSlot = 2,
    RightShiftSlot = 3,
    EnterSlot = 4,
    BackspaceSlot = 5,
    SpaceSlot = 6,
    PlusSlot = 7,
};
