#pragma once
// Where each key of the keypad lies, as plain arithmetic on the control's size: no widget here.
//
// Keys are sized from the control: W and H are the usable width and height divided by the mode's
// divisors and truncated, so pixels left over stay empty at the right and bottom. Half-key
// products round to the nearest integer with exact halves going to the even neighbour. Nothing is
// clamped: a control too small gives keys of size 0.
#include "KeyboardTypes.h"

struct TKeyBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TKeyBounds&, const TKeyBounds&) = default;
};

// What the layout reads of the control.
struct TLayoutFrame {
    int Width = 0;
    int Height = 0;
    int BorderWidth = 0;
    // 0, one or two bevel widths: one for each of the inner and outer bevel that is shown.
    int BevelAllowance = 0;
};

struct TKeyMetrics {
    int KeyWidth = 0; // W
    int KeyHeight = 0; // H
    int Left = 0; // L0, the left edge of the layout
    int Top = 0; // T0, the top edge of the main block, below the function row if there is one
    int FunctionRowOffset = 0; // F
};

// Rounds to the nearest integer, an exact half to the even neighbour (61.5 -> 62, 152.5 -> 152).
int RoundHalfEven(double Value);
// Drops the fraction, towards zero.
int Truncate(double Value);

// Any mode value outside the enumeration is measured and laid out as kbmAlphaNumeric.
TKeyMetrics ComputeKeyMetrics(TKbMode Mode, const TLayoutFrame& Frame);

// Bounds of special-key slot Slot and of grid key (Row, Column) in each layout. The function row
// (row 1) belongs to the alphanumeric layout.
TKeyBounds AlphaNumericSpecialKeyBounds(const TKeyMetrics& Metrics, int Slot);
TKeyBounds AlphaNumericGridKeyBounds(const TKeyMetrics& Metrics, int Row, int Column);
TKeyBounds CalculatorSpecialKeyBounds(const TKeyMetrics& Metrics, int Slot);
TKeyBounds NumericSpecialKeyBounds(const TKeyMetrics& Metrics, int Slot);
// The calculator and numeric grids are plain: column k, row r at (k - 1)·W, (r - 1)·H.
TKeyBounds PlainGridKeyBounds(const TKeyMetrics& Metrics, int Row, int Column);
