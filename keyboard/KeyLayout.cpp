#include "KeyLayout.h"

#include <cassert>
#include <cmath>

int RoundHalfEven(double Value)
{
    const double Floor = std::floor(Value);
    const double Fraction = Value - Floor;
    if (Fraction < 0.5)
        return static_cast<int>(Floor);
    if (Fraction > 0.5)
        return static_cast<int>(Floor) + 1;
    const auto Lower = static_cast<long long>(Floor);
    return static_cast<int>(Lower % 2 == 0 ? Lower : Lower + 1);
}

int Truncate(double Value) { return static_cast<int>(std::trunc(Value)); }

TKeyMetrics ComputeKeyMetrics(TKbMode Mode, const TLayoutFrame& Frame)
{
    const int Inset = Frame.BevelAllowance + Frame.BorderWidth;
    const int UsableWidth = Frame.Width - 2 * Inset;
    const int UsableHeight = Frame.Height - 2 * Inset;

    // Rows 4 and 5 with their wide end keys span 14.5 key widths; the function row adds 1.2 key
    // heights to the five rows of the main block.
    double WidthDivisor = 14.5;
    double HeightDivisor = 5.0;
    switch (Mode) {
    case kbmAlphaNumericFunction:
        HeightDivisor = 6.2;
        break;
    case kbmCalculator:
        WidthDivisor = 4.0;
        break;
    case kbmNumeric:
        WidthDivisor = 3.0;
        HeightDivisor = 4.0;
        break;
    default:
        break;
    }

    TKeyMetrics Metrics;
    Metrics.KeyWidth = Truncate(UsableWidth / WidthDivisor);
    Metrics.KeyHeight = Truncate(UsableHeight / HeightDivisor);
    Metrics.FunctionRowOffset = Mode == kbmAlphaNumericFunction ? Truncate(Metrics.KeyHeight * 1.2) : 0;
    Metrics.Left = Inset;
    Metrics.Top = Inset + Metrics.FunctionRowOffset;
    return Metrics;
}

TKeyBounds AlphaNumericSpecialKeyBounds(const TKeyMetrics& M, int Slot)
{
    const int W = M.KeyWidth;
    const int H = M.KeyHeight;
    switch (Slot) {
    case TabSlot:
        return { M.Left, M.Top + H, RoundHalfEven(1.5 * W), H };
    case CapsSlot:
        return { M.Left, M.Top + 2 * H, 2 * W, H };
    case LeftShiftSlot:
        return { M.Left, M.Top + 3 * H, RoundHalfEven(2.5 * W), H };
    case RightShiftSlot:
        return { M.Left + RoundHalfEven(12.5 * W), M.Top + 3 * H, 2 * W, H };
    case EnterSlot:
        return { M.Left + 13 * W, M.Top + 2 * H, RoundHalfEven(1.5 * W), H };
    case BackspaceSlot:
        // A fixed 40 pixels back, not a key width: the key adjoins row 2 at a key width of 40
        // and leaves a gap at wider keys. Narrower keys would bury it under row 2's last keys,
        // out of reach, so there it sits flush after them.
        return { M.Left + (W < 40 ? 12 * W : 13 * W - 40), M.Top, RoundHalfEven(1.5 * W), H };
    case SpaceSlot:
        return { M.Left + 3 * W, M.Top + 4 * H, RoundHalfEven(8.5 * W), H };
    default:
        assert(false && "no such special key in the alphanumeric layout");
        return {};
    }
}

TKeyBounds AlphaNumericGridKeyBounds(const TKeyMetrics& M, int Row, int Column)
{
    const int W = M.KeyWidth;
    const int H = M.KeyHeight;
    const int Step = (Column - 1) * W;
    switch (Row) {
    case 1: {
        // Half a key's gap separates Escape from F1.
        const int Gap = Column == 1 ? 0 : Truncate(W / 2.0);
        return { M.Left + Step + Gap, M.Top - M.FunctionRowOffset, W, H };
    }
    case 2:
        return { M.Left + Step, M.Top, W, H };
    case 3:
        return { M.Left + RoundHalfEven(1.5 * W) + Step, M.Top + H, W, H };
    case 4:
        return { M.Left + 2 * W + Step, M.Top + 2 * H, W, H };
    case 5:
        return { M.Left + RoundHalfEven(2.5 * W) + Step, M.Top + 3 * H, W, H };
    default:
        assert(false && "no such row in the alphanumeric layout");
        return {};
    }
}

TKeyBounds CalculatorSpecialKeyBounds(const TKeyMetrics& M, int Slot)
{
    const int W = M.KeyWidth;
    const int H = M.KeyHeight;
    switch (Slot) {
    case EnterSlot:
        return { M.Left + 2 * W, M.Top + 4 * H, 2 * W, H };
    case BackspaceSlot:
        return { M.Left + 2 * W, M.Top, 2 * W, H };
    case PlusSlot:
        return { M.Left + 3 * W, M.Top + H, W, 2 * H };
    default:
        assert(false && "no such special key in the calculator layout");
        return {};
    }
}

TKeyBounds NumericSpecialKeyBounds(const TKeyMetrics& M, int Slot)
{
    assert(Slot == BackspaceSlot && "the numeric layout has only Backspace");
    (void)Slot;
    return { M.Left + 2 * M.KeyWidth, M.Top + 3 * M.KeyHeight, M.KeyWidth, M.KeyHeight };
}

TKeyBounds PlainGridKeyBounds(const TKeyMetrics& M, int Row, int Column)
{
    return { M.Left + (Column - 1) * M.KeyWidth, M.Top + (Row - 1) * M.KeyHeight, M.KeyWidth, M.KeyHeight };
}
