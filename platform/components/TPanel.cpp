#include "TPanel.h"

#include <QCoreApplication>
#include <QResizeEvent>

TPanel::TPanel(QWidget* Owner)
    : QFrame(Owner)
{
    ShowBevel();
}

void TPanel::SetBevelOuter(TBevelCut Bevel)
{
    BevelOuterValue = Bevel;
    ShowBevel();
}

void TPanel::SetBevelWidth(int Width)
{
    BevelWidthValue = Width;
    ShowBevel();
}

void TPanel::ShowBevel()
{
    // The outer bevel is the frame; the inner one only takes its room (nothing here draws one).
    if (BevelOuterValue == bvNone || BevelOuterValue == bvSpace)
        setFrameStyle(QFrame::NoFrame);
    else
        setFrameStyle(QFrame::Panel | (BevelOuterValue == bvLowered ? QFrame::Sunken : QFrame::Raised));
    setLineWidth(BevelWidthValue);
}

void TPanel::SetBounds(int Left, int Top, int Width, int Height)
{
    const QSize OldSize = size();
    const bool WasPending = testAttribute(Qt::WA_PendingResizeEvent);
    setGeometry(Left, Top, Width, Height);
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

void TPanel::resizeEvent(QResizeEvent* Event)
{
    QFrame::resizeEvent(Event);
    Resize();
}
