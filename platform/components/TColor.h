#pragma once
// Colours as the components store them: 0x00BBGGRR for a fixed colour, and the high bit set with
// an index for a colour of the system's scheme, resolved only when drawn.
#include <cstdint>

class QColor;

using TColor = std::int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor SystemColorBase = static_cast<TColor>(0x80000000u);
constexpr TColor clWindow = SystemColorBase | 5;
constexpr TColor clWindowText = SystemColorBase | 8;
constexpr TColor clHighlight = SystemColorBase | 13;
constexpr TColor clHighlightText = SystemColorBase | 14;
constexpr TColor clBtnFace = SystemColorBase | 15;
constexpr TColor clBtnShadow = SystemColorBase | 16;
constexpr TColor clGrayText = SystemColorBase | 17;
constexpr TColor clBtnText = SystemColorBase | 18;
constexpr TColor clBtnHighlight = SystemColorBase | 20;

constexpr TColor RGB(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue)
{
    return static_cast<TColor>(Red | (Green << 8) | (Blue << 16));
}

// The colour to draw: a fixed colour as it is, a system colour from the application's palette.
QColor ToQColor(TColor Color);
