#include "TColor.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

QColor ToQColor(TColor Color)
{
    if ((Color & SystemColorBase) == 0) {
        const auto Value = static_cast<std::uint32_t>(Color);
        return QColor(static_cast<int>(Value & 0xFF), static_cast<int>((Value >> 8) & 0xFF),
            static_cast<int>((Value >> 16) & 0xFF));
    }
    const QPalette Palette = QApplication::palette();
    switch (Color) {
    case clWindow:
        return Palette.color(QPalette::Base);
    case clWindowText:
        return Palette.color(QPalette::WindowText);
    case clHighlight:
        return Palette.color(QPalette::Highlight);
    case clHighlightText:
        return Palette.color(QPalette::HighlightedText);
    case clBtnFace:
        return Palette.color(QPalette::Button);
    case clBtnShadow:
        return Palette.color(QPalette::Dark);
    case clGrayText:
        return Palette.color(QPalette::Disabled, QPalette::WindowText);
    case clBtnText:
        return Palette.color(QPalette::ButtonText);
    case clBtnHighlight:
        return Palette.color(QPalette::Light);
    default:
        return Palette.color(QPalette::WindowText);
    }
}
