// Where the keypad's geometry puts its layer surface, and what a drag does to the geometry.
#include "WaylandPlacement.h"

#include <gtest/gtest.h>

namespace {

const QRect Screen(0, 0, 1280, 800);
constexpr std::uint32_t BottomAndSides = TWlrLayerSurface::anBottom | TWlrLayerSurface::anLeft | TWlrLayerSurface::anRight;

TEST(KeypadPlacement, MarginsFollowTheGeometryAndOnlyALowKeypadKeepsWindowsOut)
{
    const struct {
        QRect Geometry;
        QMargins Margins; // left, top, right, bottom
        int Height;
        int ExclusiveZone;
    } Cases[] = {
        // The default place: full width, 28 above the bottom edge.
        { QRect(0, 570, 1280, 202), QMargins(0, 0, 0, 28), 202, 202 },
        { QRect(0, 598, 1280, 202), QMargins(0, 0, 0, 0), 202, 202 },
        { QRect(100, 500, 1000, 250), QMargins(100, 0, 180, 50), 250, 250 },
        // Moved up by more than its height: it floats over the windows.
        { QRect(0, 300, 1280, 202), QMargins(0, 0, 0, 298), 202, 0 },
        // Partly off the screen: the part on it counts.
        { QRect(-50, 700, 1280, 202), QMargins(0, 0, 50, 0), 100, 100 },
    };
    for (const auto& Case : Cases) {
        const TWlrLayerSurface::TPlacement Placement = KeypadPlacement(Case.Geometry, Screen);
        EXPECT_EQ(Placement.Anchors, BottomAndSides);
        EXPECT_EQ(Placement.Margins, Case.Margins) << Case.Geometry.y();
        EXPECT_EQ(Placement.Size, QSize(0, Case.Height)) << Case.Geometry.y();
        EXPECT_EQ(Placement.ExclusiveZone, Case.ExclusiveZone) << Case.Geometry.y();
    }
}

TEST(KeypadPlacement, PopupsStandWhereQtPutsThem)
{
    const TWlrLayerSurface::TPlacement Placement = PopupPlacement(QRect(600, 590, 195, 66), Screen);
    EXPECT_EQ(Placement.Anchors, std::uint32_t(TWlrLayerSurface::anTop | TWlrLayerSurface::anLeft));
    EXPECT_EQ(Placement.Margins, QMargins(600, 590, 0, 0));
    EXPECT_EQ(Placement.Size, QSize(195, 66));
    EXPECT_EQ(Placement.ExclusiveZone, 0);
}

TEST(KeypadDrag, TheBackgroundMovesTheEdgesResizeAndTheKeypadStaysOnScreen)
{
    const QRect Start(0, 570, 1280, 202);
    const struct {
        QPoint Local;
        QPoint Delta;
        QRect Expected;
        Qt::CursorShape Cursor;
    } Cases[] = {
        { QPoint(300, 15), QPoint(0, -300), QRect(0, 270, 1280, 202), Qt::SizeAllCursor },
        { QPoint(300, 15), QPoint(40, 500), QRect(0, 598, 1280, 202), Qt::SizeAllCursor },
        { QPoint(300, 15), QPoint(0, -900), QRect(0, 0, 1280, 202), Qt::SizeAllCursor },
        { QPoint(1278, 100), QPoint(-200, 30), QRect(0, 570, 1080, 202), Qt::SizeHorCursor },
        { QPoint(2, 100), QPoint(200, 0), QRect(200, 570, 1080, 202), Qt::SizeHorCursor },
        { QPoint(600, 1), QPoint(0, -100), QRect(0, 470, 1280, 302), Qt::SizeVerCursor },
        // Never smaller than the least size, never beyond the screen.
        { QPoint(600, 1), QPoint(0, 400), QRect(0, 672, 1280, 100), Qt::SizeVerCursor },
        { QPoint(1278, 1), QPoint(-1200, -900), QRect(0, 0, 300, 772), Qt::SizeBDiagCursor },
        { QPoint(1278, 200), QPoint(100, 100), QRect(0, 570, 1280, 230), Qt::SizeFDiagCursor },
    };
    for (const auto& Case : Cases) {
        const QPoint Global = Start.topLeft() + Case.Local;
        const TKeypadDrag Drag(Start, Case.Local, Global);
        EXPECT_EQ(Drag.Geometry(Global + Case.Delta, Screen), Case.Expected) << Case.Local.x() << "," << Case.Local.y();
        EXPECT_EQ(Drag.Cursor(), Case.Cursor) << Case.Local.x() << "," << Case.Local.y();
        EXPECT_EQ(Drag.Geometry(Global, Screen), Start);
    }
}

} // namespace
