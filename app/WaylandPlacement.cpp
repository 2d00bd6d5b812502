#include "WaylandPlacement.h"

#include <algorithm>

namespace {

// Value kept within Low..High; where the two cross, Low wins.
int Clamp(int Value, int Low, int High) { return std::max(Low, std::min(Value, High)); }

} // namespace

TWlrLayerSurface::TPlacement KeypadPlacement(const QRect& Geometry, const QRect& Screen)
{
    const QRect Within = Geometry.intersected(Screen).isEmpty() ? Geometry : Geometry.intersected(Screen);
    TWlrLayerSurface::TPlacement Placement;
    Placement.Anchors = TWlrLayerSurface::anBottom | TWlrLayerSurface::anLeft | TWlrLayerSurface::anRight;
    const int Bottom = std::max(0, Screen.bottom() - Within.bottom());
    Placement.Margins = QMargins(std::max(0, Within.left() - Screen.left()), 0, std::max(0, Screen.right() - Within.right()), Bottom);
    Placement.Size = QSize(0, Within.height());
    Placement.ExclusiveZone = Bottom < Within.height() ? Within.height() : 0;
    return Placement;
}

TWlrLayerSurface::TPlacement PopupPlacement(const QRect& Geometry, const QRect& Screen)
{
    TWlrLayerSurface::TPlacement Placement;
    Placement.Anchors = TWlrLayerSurface::anTop | TWlrLayerSurface::anLeft;
    Placement.Margins = QMargins(std::max(0, Geometry.left() - Screen.left()), std::max(0, Geometry.top() - Screen.top()), 0, 0);
    Placement.Size = Geometry.size();
    return Placement;
}

TKeypadDrag::TKeypadDrag(const QRect& Start, const QPoint& Local, const QPoint& Global)
    : Start(Start)
    , Origin(Global)
    , Left(Local.x() < EdgeWidth)
    , Right(Local.x() >= Start.width() - EdgeWidth)
    , Top(Local.y() < EdgeWidth)
    , Bottom(Local.y() >= Start.height() - EdgeWidth)
{
}

Qt::CursorShape TKeypadDrag::Cursor() const
{
    if ((Left && Top) || (Right && Bottom))
        return Qt::SizeFDiagCursor;
    if ((Right && Top) || (Left && Bottom))
        return Qt::SizeBDiagCursor;
    if (Left || Right)
        return Qt::SizeHorCursor;
    if (Top || Bottom)
        return Qt::SizeVerCursor;
    return Qt::SizeAllCursor;
}

QRect TKeypadDrag::Geometry(const QPoint& Global, const QRect& Screen) const
{
    const QPoint Delta = Global - Origin;
    QRect Result = Start;
    if (!Left && !Right && !Top && !Bottom) {
        Result.translate(Delta);
        // Kept whole on the screen.
        Result.moveLeft(Clamp(Result.left(), Screen.left(), Screen.right() + 1 - Result.width()));
        Result.moveTop(Clamp(Result.top(), Screen.top(), Screen.bottom() + 1 - Result.height()));
        return Result;
    }
    if (Left)
        Result.setLeft(Clamp(Start.left() + Delta.x(), Screen.left(), Start.right() + 1 - MinimumWidth));
    if (Right)
        Result.setRight(Clamp(Start.right() + Delta.x(), Start.left() + MinimumWidth - 1, Screen.right()));
    if (Top)
        Result.setTop(Clamp(Start.top() + Delta.y(), Screen.top(), Start.bottom() + 1 - MinimumHeight));
    if (Bottom)
        Result.setBottom(Clamp(Start.bottom() + Delta.y(), Start.top() + MinimumHeight - 1, Screen.bottom()));
    return Result;
}
