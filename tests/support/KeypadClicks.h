#pragma once
// KIVO's keys as the end-to-end tests click them, by place: keypad keys by row and column,
// accent buttons by toolbar row and column, special keys by slot, and the point on the screen
// where each is, given the main window's client area.
#include "KeyLayout.h"

#include <QPoint>
#include <QRect>

struct TClick {
    enum { Key, Accent, Special } Kind;
    int Row;
    int Column;
};
constexpr TClick Letter(int Row, int Column) { return { TClick::Key, Row, Column }; }
inline constexpr TClick A = Letter(4, 1), E = Letter(3, 3), H = Letter(4, 6), N = Letter(5, 6), O = Letter(3, 9),
                        R = Letter(3, 4), X = Letter(5, 2), L = Letter(4, 9), G = Letter(4, 5), W = Letter(3, 2),
                        V = Letter(5, 4);
inline constexpr TClick Smooth { TClick::Accent, 0, 0 }, Rough { TClick::Accent, 0, 1 }, Acute { TClick::Accent, 0, 2 },
                        Circumflex { TClick::Accent, 0, 3 }, IotaSubscript { TClick::Accent, 1, 2 };
inline constexpr TClick Space { TClick::Special, 6, 0 }, Enter { TClick::Special, 4, 0 },
                        Backspace { TClick::Special, 5, 0 }, Shift { TClick::Special, 2, 0 };

// The keypad fills the window below the 30-pixel banner row, left of the 127-pixel toolbar.
inline QPoint KeypadPoint(const QRect& Client, const TClick& Click)
{
    const QRect Keypad(Client.left(), Client.top() + 30, Client.width() - 127, Client.height() - 30);
    const TKeyMetrics Metrics = ComputeKeyMetrics(kbmAlphaNumeric, TLayoutFrame { Keypad.width(), Keypad.height(), 1, 0 });
    auto Centre = [&](const TKeyBounds& Key) { return Keypad.topLeft() + QPoint(Key.Left + Key.Width / 2, Key.Top + Key.Height / 2); };
    switch (Click.Kind) {
    case TClick::Key: return Centre(AlphaNumericGridKeyBounds(Metrics, Click.Row, Click.Column));
    case TClick::Special: return Centre(AlphaNumericSpecialKeyBounds(Metrics, Click.Row));
    case TClick::Accent: break;
    }
    return QPoint(Client.right() + 1 - 127, Client.top()) + QPoint(3 + Click.Column * 31 + 15, 2 + Click.Row * 40 + 20);
}
