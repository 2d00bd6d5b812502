#include "TForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QVariant>
#include <QWindow>

#include <algorithm>
#include <string>

namespace {

// A dialog's designed or centred place, moved as little as needed for it to lie on the screen:
// on a small screen its title bar and buttons stay within reach. Wider or taller than the
// screen, it starts at the screen's top left.
QPoint KeptOnScreen(QPoint TopLeft, QSize Outer, const QRect& Area)
{
    return QPoint(std::max(Area.left(), std::min(TopLeft.x(), Area.right() + 1 - Outer.width())),
        std::max(Area.top(), std::min(TopLeft.y(), Area.bottom() + 1 - Outer.height())));
}

} // namespace

TForm::TForm(QWidget* Parent)
    : QWidget(Parent, Qt::Window)
    , TFontHolder(this)
{
    setAutoFillBackground(true);
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(Palette);
    TakeParentFont();
    FontChanged();
}

void TForm::Loaded()
{
    LoadStoredSettings(this);
    if (const QString Active = property("ActiveControl").toString(); !Active.isEmpty()) {
        if (auto* Control = findChild<QWidget*>(Active))
            Control->setFocus();
    }
}

void TForm::SetFormStyle(TFormStyle Style)
{
    FormStyleValue = Style;
    ApplyWindowFlags();
}

void TForm::SetBorderStyle(TFormBorderStyle Style)
{
    BorderStyleValue = Style;
    ApplyWindowFlags();
}

void TForm::SetAcceptFocus(bool Accept)
{
    AcceptFocusValue = Accept;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags()
{
    const bool WasVisible = isVisible();
    Qt::WindowFlags Flags = Qt::Window;
    if (BorderStyleValue == bsDialog) {
        Flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint;
    }
    if (FormStyleValue == fsStayOnTop)
        Flags |= Qt::WindowStaysOnTopHint;
    if (!AcceptFocusValue)
        Flags |= Qt::WindowDoesNotAcceptFocus;
    setWindowFlags(Flags);
    if (WasVisible)
        show();
}

QRect TForm::OuterBounds() const
{
    QRect Bounds = frameGeometry();
    if (RequestedSize)
        Bounds.setSize(*RequestedSize);
    if (RequestedPosition)
        Bounds.moveTopLeft(*RequestedPosition);
    return Bounds;
}

QSize TForm::FrameExtra() const { return frameGeometry().size() - geometry().size(); }

void TForm::SetLeft(int Left)
{
    const QRect Bounds = OuterBounds();
    SetBounds(Left, Bounds.top(), Bounds.width(), Bounds.height());
}

void TForm::SetTop(int Top)
{
    const QRect Bounds = OuterBounds();
    SetBounds(Bounds.left(), Top, Bounds.width(), Bounds.height());
}

void TForm::SetWidth(int Width)
{
    const QRect Bounds = OuterBounds();
    RequestedSize = QSize(Width, Bounds.height());
    CorrectionsLeft = 4;
    ApplyRequestedBounds(false);
}

void TForm::SetHeight(int Height)
{
    const QRect Bounds = OuterBounds();
    RequestedSize = QSize(Bounds.width(), Height);
    CorrectionsLeft = 4;
    ApplyRequestedBounds(false);
}

void TForm::SetBounds(int Left, int Top, int Width, int Height)
{
    const QRect Bounds = OuterBounds();
    if (Bounds.width() != Width || Bounds.height() != Height || RequestedSize)
        RequestedSize = QSize(Width, Height);
    RequestedPosition = QPoint(Left, Top);
    CenterRequested = false;
    LastMoveTarget = RequestedPosition.value();
    move(LastMoveTarget);
    CorrectionsLeft = 4;
    ApplyRequestedBounds(false);
}

void TForm::ApplyRequestedBounds(bool Settle)
{
    const QSize Extra = FrameExtra();
    if (RequestedSize) {
        const QSize Client(std::max(1, RequestedSize->width() - Extra.width()),
            std::max(1, RequestedSize->height() - Extra.height()));
        if (size() != Client)
            resize(Client);
    }
    if (CenterRequested) {
        if (const QScreen* Screen = screen()) {
            const QRect Area = Screen->geometry();
            const QSize Outer = size() + Extra;
            RequestedPosition = KeptOnScreen(QPoint(Area.left() + (Area.width() - Outer.width()) / 2,
                                                 Area.top() + (Area.height() - Outer.height()) / 2),
                Outer, Area);
        }
    }
    const QWindow* Window = windowHandle();
    const bool OnScreen = isVisible() && Window && Window->isExposed();
    if (!OnScreen) {
        if (RequestedPosition) {
            LastMoveTarget = *RequestedPosition;
            move(LastMoveTarget);
        }
        return;
    }
    // On screen, the position is checked only at the settling checks after the first exposure:
    // between them Qt's idea of the frame may still be the one it asked for, not the one the
    // window manager gave.
    if (!Settle)
        return;
    // With the frame known, a designed place is checked against the whole outer size again.
    if (KeepOnScreen && RequestedPosition && !Extra.isEmpty() && screen()) {
        RequestedPosition = KeptOnScreen(*RequestedPosition, size() + Extra, screen()->geometry());
        KeepOnScreen = false;
    }
    const bool SizeReached = !RequestedSize || frameGeometry().size() == *RequestedSize;
    const bool PositionReached = !RequestedPosition || frameGeometry().topLeft() == *RequestedPosition;
    // Until the window manager's frame is known the position cannot be judged; a window that
    // has none after the last check has no window manager.
    const bool FrameKnown = !Extra.isEmpty() || SettleChecksLeft == 0;
    if (!PositionReached && CorrectionsLeft > 0 && FrameKnown) {
        --CorrectionsLeft;
        LastMoveTarget += *RequestedPosition - frameGeometry().topLeft();
        move(LastMoveTarget);
    } else if ((SizeReached && PositionReached && FrameKnown) || CorrectionsLeft == 0) {
        // Reached: from now on the user may move and size the window as they like.
        RequestedSize.reset();
        RequestedPosition.reset();
        CenterRequested = false;
    }
}

void TForm::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
}

bool TForm::event(QEvent* Event)
{
    const bool Result = QWidget::event(Event);
    switch (Event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
        if (RequestedSize && isVisible())
            ApplyRequestedBounds(false);
        // The frame has just become known (or changed): check the position once more.
        if ((RequestedPosition || RequestedSize || CenterRequested) && isVisible() && FrameExtra() != KnownFrameExtra) {
            KnownFrameExtra = FrameExtra();
            QTimer::singleShot(50, this, [this] { ApplyRequestedBounds(true); });
        }
        break;
    default:
        break;
    }
    return Result;
}

void TForm::showEvent(QShowEvent* Event)
{
    if (!Event->spontaneous()) {
        if (PositionValue == poScreenCenter) {
            CenterRequested = true;
            CorrectionsLeft = 4;
            ApplyRequestedBounds(false);
        } else if (PositionValue == poDesigned) {
            const QRect Bounds = OuterBounds();
            const QPoint Place = KeptOnScreen(Bounds.topLeft(), Bounds.size(), screen()->geometry());
            if (!RequestedPosition || Place != *RequestedPosition)
                SetBounds(Place.x(), Place.y(), Bounds.width(), Bounds.height());
            KeepOnScreen = true;
        }
        if (BorderStyleValue == bsDialog)
            setFixedSize(size());
        if (QWindow* Window = windowHandle())
            Window->installEventFilter(this);
    }
    QWidget::showEvent(Event);
}

bool TForm::eventFilter(QObject* Watched, QEvent* Event)
{
    // The first exposure comes after the window manager has framed the window: the frame's
    // size is known from then on. Resizing is left until the exposure has been handled.
    if (Event->type() == QEvent::Expose && Watched == windowHandle() && (RequestedPosition || RequestedSize || CenterRequested)) {
        QTimer::singleShot(0, this, [this] { ApplyRequestedBounds(false); });
        SettleChecksLeft = 6;
        for (const int Delay : { 50, 150, 300, 600, 1200, 2000 }) {
            QTimer::singleShot(Delay, this, [this] {
                SettleChecksLeft = std::max(0, SettleChecksLeft - 1);
                ApplyRequestedBounds(true);
            });
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

void TForm::closeEvent(QCloseEvent* Event)
{
    if (InModalLoop && ModalResultValue == mrNone)
        ModalResultValue = mrCancel;
    QWidget::closeEvent(Event);
}

void TForm::SetModalResult(int Result)
{
    ModalResultValue = Result;
    if (InModalLoop && Result != mrNone)
        close();
}

int TForm::ShowModal()
{
    ModalResultValue = mrNone;
    setWindowModality(Qt::ApplicationModal);
    // A modal window must not open under a stay-on-top window of its own application, where
    // the user could neither see it nor reach the window it blocks.
    bool OverStayOnTop = FormStyleValue == fsStayOnTop;
    for (const QWidget* Window : QApplication::topLevelWidgets()) {
        if (Window != this && Window->isVisible() && Window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            OverStayOnTop = true;
    }
    setWindowFlag(Qt::WindowStaysOnTopHint, OverStayOnTop);
    InModalLoop = true;
    show();
    raise();
    activateWindow();
    QEventLoop Loop;
    // The loop ends when the window is hidden, whether by a button's result or the close box.
    class THideWatcher : public QObject {
    public:
        explicit THideWatcher(QEventLoop& Loop)
            : Loop(Loop)
        {
        }
        bool eventFilter(QObject*, QEvent* Event) override
        {
            if (Event->type() == QEvent::Hide)
                Loop.quit();
            return false;
        }

    private:
        QEventLoop& Loop;
    } Watcher(Loop);
    installEventFilter(&Watcher);
    if (isVisible())
        Loop.exec(QEventLoop::DialogExec);
    removeEventFilter(&Watcher);
    InModalLoop = false;
    hide();
    setWindowModality(Qt::NonModal);
    return ModalResultValue;
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}
