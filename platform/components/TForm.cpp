#include "TForm.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

TForm::TForm(QWidget* Parent)
    : QWidget(Parent, Qt::Window)
{
}

void TForm::SetFormStyle(TFormStyle Style)
{
    FormStyleValue = Style;
    ApplyWindowFlags();
}

void TForm::SetAcceptFocus(bool Accept)
{
    AcceptFocusValue = Accept;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags()
{
    // Qt hides a window whose flags change; a window on screen stays there.
    const bool WasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, FormStyleValue == fsStayOnTop);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, !AcceptFocusValue);
    if (WasVisible)
        show();
}

QMargins TForm::FrameMargins() const
{
    const QWindow* Window = windowHandle();
    return Window ? Window->frameMargins() : QMargins();
}

QRect TForm::OuterBounds() const
{
    return Requested ? *Requested : frameGeometry();
}

void TForm::SetLeft(int Left) { SetBounds(Left, Top(), Width(), Height()); }
void TForm::SetTop(int Top) { SetBounds(Left(), Top, Width(), Height()); }
void TForm::SetWidth(int Width) { SetBounds(Left(), Top(), Width, Height()); }
void TForm::SetHeight(int Height) { SetBounds(Left(), Top(), Width(), Height); }

void TForm::SetBounds(int Left, int Top, int Width, int Height)
{
    Requested = QRect(Left, Top, Width, Height);
    ApplyRequest();
}

void TForm::ApplyRequest()
{
    // Qt places a top-level window by its frame and sizes it by its client area.
    const QMargins Frame = FrameMargins();
    move(Requested->topLeft());
    resize(std::max(1, Requested->width() - Frame.left() - Frame.right()),
        std::max(1, Requested->height() - Frame.top() - Frame.bottom()));
    // Not framed yet: the client size is corrected when the frame is known.
    if (!isVisible() || Frame.isNull()) {
        if (QWindow* Window = windowHandle())
            Window->installEventFilter(this);
        return;
    }
    Requested.reset();
}

bool TForm::event(QEvent* Event)
{
    if (Event->type() == QEvent::WinIdChange) {
        if (QWindow* Window = windowHandle())
            Window->installEventFilter(this);
    }
    return QWidget::event(Event);
}

bool TForm::eventFilter(QObject* Watched, QEvent* Event)
{
    // The first exposure comes after the window manager has framed the window; the one
    // correction runs once that exposure has been handled. Without a window manager there is
    // no frame, and nothing to correct: the request was right as it was made.
    if (Requested && Watched == windowHandle() && Event->type() == QEvent::Expose && isVisible()) {
        QTimer::singleShot(0, this, [this] {
            if (!Requested)
                return;
            if (FrameMargins().isNull())
                Requested.reset();
            else
                ApplyRequest();
        });
    }
    return QWidget::eventFilter(Watched, Event);
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}
