#pragma once
// KIVO's keys as the end-to-end tests click them, by place: keypad keys by row and column,
// accent buttons by toolbar row and column, special keys by slot. Each test's fixture turns a
// place into a point of its own screen.
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
