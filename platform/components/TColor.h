#pragma once
// Colours are Qt's own; the names are those the keypad and the windows use.
#include <QColor>

using TColor = QColor;

inline const TColor clBlack = QColor(0, 0, 0);
inline const TColor clNavy = QColor(0, 0, 128);
