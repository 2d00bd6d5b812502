#include "TPanel.h"

#include <QCoreApplication>
#include <QPainter>
#include <QResizeEvent>
#include <QPalette>

TPanel::TPanel(QWidget* Owner)
    : QFrame(Owner)
    , TFontHolder(this)
{
    setFrameStyle(QFrame::NoFrame);
    setContentsMargins(0, 0, 0, 0);
    setAutoFillBackground(true);
    SetColor(ColorValue);
    TakeParentFont();
}

void TPanel::SetBorderWidth(int Width)
{
    BorderWidthValue = Width;
    update();
}

void TPanel::SetBevelInner(TBevelCut Bevel)
{
    BevelInnerValue = Bevel;
    update();
}

void TPanel::SetBevelOuter(TBevelCut Bevel)
{
    BevelOuterValue = Bevel;
    update();
}

void TPanel::SetBevelWidth(int Width)
{
    BevelWidthValue = Width;
    update();
}

void TPanel::SetColor(TColor Color)
{
    ColorValue = Color;
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, ToQColor(Color));
    setPalette(Palette);
}

void TPanel::SetBounds(int Left, int Top, int Width, int Height)
{
    const QSize OldSize = size();
    const bool WasPending = testAttribute(Qt::WA_PendingResizeEvent);
    setGeometry(Left, Top, Width, Height);
    // A widget not yet created only records its new size and marks a resize as pending.
    if (!testAttribute(Qt::WA_PendingResizeEvent))
        return;
    if (size() != OldSize) {
        setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent Event(size(), OldSize);
        QCoreApplication::sendEvent(this, &Event);
    } else if (!WasPending) {
        setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}

void TPanel::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TPanel::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
}

void TPanel::resizeEvent(QResizeEvent* Event)
{
    QFrame::resizeEvent(Event);
    Resize();
}

namespace {

// Draws one bevel of the given width inside Bounds and returns the rectangle inside it.
QRect DrawBevel(QPainter& Painter, QRect Bounds, TBevelCut Cut, int Width, const QPalette& Palette)
{
    if (Cut == bvNone)
        return Bounds;
    const QColor TopLeft = Cut == bvLowered ? Palette.color(QPalette::Dark) : Palette.color(QPalette::Light);
    const QColor BottomRight = Cut == bvLowered ? Palette.color(QPalette::Light) : Palette.color(QPalette::Dark);
    for (int Line = 0; Line < Width && Bounds.width() > 0 && Bounds.height() > 0; ++Line) {
        if (Cut != bvSpace) {
            Painter.setPen(TopLeft);
            Painter.drawLine(Bounds.topLeft(), Bounds.topRight());
            Painter.drawLine(Bounds.topLeft(), Bounds.bottomLeft());
            Painter.setPen(BottomRight);
            Painter.drawLine(Bounds.bottomLeft(), Bounds.bottomRight());
            Painter.drawLine(Bounds.topRight(), Bounds.bottomRight());
        }
        Bounds.adjust(1, 1, -1, -1);
    }
    return Bounds;
}

} // namespace

void TPanel::paintEvent(QPaintEvent* Event)
{
    QFrame::paintEvent(Event);
    QPainter Painter(this);
    QRect Inside = DrawBevel(Painter, rect(), BevelOuterValue, BevelWidthValue, palette());
    Inside.adjust(BorderWidthValue, BorderWidthValue, -BorderWidthValue, -BorderWidthValue);
    DrawBevel(Painter, Inside, BevelInnerValue, BevelWidthValue, palette());
}
