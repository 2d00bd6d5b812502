#pragma once
// The arithmetic of the keypad's place on a wlroots desktop: where the window's geometry puts
// a layer surface, and what a drag of the keypad's background or edges does to that geometry.
// No window here, so tests reach it directly.
#include "WlrLayerSurface.h"

#include <QCursor>
#include <QPoint>
#include <QRect>

// The keypad is anchored to the bottom and both sides, its width set by the side margins, so
// that it stays full width as the screen changes. While it sits low (less than its own height
// above the bottom edge) tiled windows keep out of it; moved higher, it floats over them.
TWlrLayerSurface::TPlacement KeypadPlacement(const QRect& Geometry, const QRect& Screen);
// Tooltips and menus: at their place from the top left corner, at their size.
TWlrLayerSurface::TPlacement PopupPlacement(const QRect& Geometry, const QRect& Screen);

class TKeypadDrag {
public:
    // How close to an edge a press resizes instead of moving.
    static constexpr int EdgeWidth = 6;
    // The keypad's least size while being resized.
    static constexpr int MinimumWidth = 300, MinimumHeight = 100;

    // A press at Local (in the window) and Global (on the screen) on a window at Start.
    TKeypadDrag(const QRect& Start, const QPoint& Local, const QPoint& Global);
    // The window's geometry with the pointer at Global: moved or resized, always on Screen.
    QRect Geometry(const QPoint& Global, const QRect& Screen) const;
    Qt::CursorShape Cursor() const;

private:
    QRect Start;
    QPoint Origin;
    bool Left = false, Right = false, Top = false, Bottom = false;
};
