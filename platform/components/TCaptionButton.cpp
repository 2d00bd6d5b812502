#include "TCaptionButton.h"

#include "FitText.h"
#include "FontSubstitution.h"
#include "SysUtils.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace {

// The button the left mouse button holds down, and the last of its mouse events the toolkit
// delivered: the press, or a motion after it.
struct TPressedButton {
    QPointer<TCaptionButton> Button;
    unsigned long PressTime = 0;
    unsigned long SeenTime = 0;
    bool SeenMotion = false;
};
TPressedButton Pressed;

// Whether server time Later is after Earlier; the times wrap around after 49 days.
bool IsAfter(unsigned long Later, unsigned long Earlier)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Later) - static_cast<std::uint32_t>(Earlier)) > 0;
}

} // namespace

TCaptionButton::TCaptionButton(QWidget* Parent)
    : QToolButton(Parent)
    , TFontHolder(this)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Clicks that no mouse release reported (click(), animateClick()) arrive only here.
    connect(this, &QToolButton::clicked, this, [this] {
        if (ClickReported)
            ClickReported = false;
        else
            ReportClick();
    });
    TakeParentFont();
}

void TCaptionButton::SetCaption(const std::string& Caption)
{
    CaptionValue = Caption;
    ShowCaption();
}

bool TCaptionButton::ClickAtEarlyRelease(unsigned long PressTime, unsigned long LastMotionTime, int MotionCount, QPoint Pointer)
{
    TCaptionButton* Button = Pressed.Button;
    // isDown: the toolkit saw the pointer on the button at its last motion. A button that
    // repeats while held clicks at its own pace, not at the release.
    if (!Button || !Button->isDown() || Button->autoRepeat() || Button->RepeatsDone > 0 || PressTime != Pressed.PressTime)
        return false;
    // A motion the toolkit has not delivered yet may have left the button. Motions in the
    // millisecond it saw last are told apart by their number: one, if what it saw was a motion.
    if (MotionCount > 0) {
        if (IsAfter(LastMotionTime, Pressed.SeenTime))
            return false;
        if (LastMotionTime == Pressed.SeenTime && MotionCount > (Pressed.SeenMotion ? 1 : 0))
            return false;
    }
    const QPointF Logical = QPointF(Pointer) / Button->devicePixelRatioF();
    if (!Button->hitButton(Button->mapFromGlobal(Logical).toPoint()))
        return false;
    Pressed.Button = nullptr;
    if (Button->HeldToRepeat) {
        // Released before its delay: one click, and no repeat after it.
        Button->HeldToRepeat = false;
        Button->RepeatTimer->stop();
    }
    Button->ClickedEarly = true;
    Button->ReportClick();
    return true;
}

void TCaptionButton::mousePressEvent(QMouseEvent* Event)
{
    if (Event->button() == Qt::LeftButton)
        Pressed = { this, Event->timestamp(), Event->timestamp(), false };
    std::optional<TRepeatTiming> Timing;
    if (Event->button() == Qt::LeftButton && RepeatTiming && hitButton(Event->position().toPoint()))
        Timing = RepeatTiming();
    if (!Timing) {
        QToolButton::mousePressEvent(Event);
        return;
    }
    HeldToRepeat = true;
    SincePress.start();
    RepeatInterval = std::max(1, Timing->IntervalMilliseconds);
    QToolButton::mousePressEvent(Event);
    if (!RepeatTimer) {
        RepeatTimer = new QTimer(this);
        RepeatTimer->setTimerType(Qt::PreciseTimer);
        connect(RepeatTimer, &QTimer::timeout, this, &TCaptionButton::Repeat);
    }
    RepeatDelay = std::max(0, Timing->DelayMilliseconds);
    RepeatsDone = 0;
    RepeatTimer->start(static_cast<int>(std::max<qint64>(0, RepeatDelay - SincePress.elapsed())));
}

void TCaptionButton::Repeat()
{
    // Also ends when the release went elsewhere (a grab taken away, the window hidden): a
    // key that kept repeating on its own would be stuck.
    if (!HeldToRepeat || !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton)) {
        HeldToRepeat = false;
        RepeatTimer->stop();
        return;
    }
    // The n-th repeat is due at delay + n intervals from the press, however late the one before
    // it ran: the timing does not drift with the time the clicks take.
    const qint64 NextDue = RepeatDelay + qint64(++RepeatsDone) * RepeatInterval;
    RepeatTimer->start(static_cast<int>(std::max<qint64>(0, NextDue - SincePress.elapsed())));
    // A pointer dragged off the button pauses the repeat, as Qt shows the button up then.
    if (isDown())
        ReportClick();
}

void TCaptionButton::mouseMoveEvent(QMouseEvent* Event)
{
    QToolButton::mouseMoveEvent(Event);
    if (Pressed.Button == this) {
        Pressed.SeenTime = Event->timestamp();
        Pressed.SeenMotion = true;
    }
}

void TCaptionButton::mouseReleaseEvent(QMouseEvent* Event)
{
    const bool LeftReleased = Event->button() == Qt::LeftButton;
    if (LeftReleased && Pressed.Button == this)
        Pressed.Button = nullptr;
    if (HeldToRepeat && LeftReleased) {
        HeldToRepeat = false;
        RepeatTimer->stop();
    }
    if (LeftReleased && RepeatsDone > 0) {
        // The repeats were this press's clicks; the one Qt announces now is not another.
        RepeatsDone = 0;
        ClickReported = true;
        QToolButton::mouseReleaseEvent(Event);
        ClickReported = false;
        return;
    }
    // Qt repaints a released button synchronously, text and all, before it announces the
    // click. The click is the user's keystroke and goes first; the repaint follows it, a moment
    // later, so that it does not compete with the program handling the key for the processor.
    // A click made at the early release has been reported already.
    const bool Early = LeftReleased && ClickedEarly;
    const bool Clicks = LeftReleased && !Early && isDown() && hitButton(Event->position().toPoint());
    if (Early)
        ClickedEarly = false;
    QPointer<TCaptionButton> Alive(this);
    if (Early || Clicks)
        ClickReported = true;
    if (Clicks)
        ReportClick();
    if (!Alive)
        return;
    const bool Deferred = (Early || Clicks) && updatesEnabled();
    if (Deferred)
        setUpdatesEnabled(false);
    QToolButton::mouseReleaseEvent(Event);
    ClickReported = false;
    if (Deferred)
        QTimer::singleShot(RepaintDelayMilliseconds, Qt::PreciseTimer, this, [this] { setUpdatesEnabled(true); });
}

void TCaptionButton::ReportClick()
{
    try {
        Clicked();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TCaptionButton::paintEvent(QPaintEvent*)
{
    QStylePainter Painter(this);
    QStyleOptionToolButton Option;
    initStyleOption(&Option);
    if (!DrawnFont) {
        // The caption is drawn inside the button's frame.
        const int Frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, this);
        QString Shown = text();
        Shown.replace(QLatin1String("&&"), QLatin1String("&"));
        DrawnFont = FittedFont(font(), Shown, rect().adjusted(Frame, Frame, -Frame, -Frame).size());
    }
    Option.font = *DrawnFont;
    Painter.setFont(*DrawnFont);
    Painter.drawComplexControl(QStyle::CC_ToolButton, Option);
}

void TCaptionButton::resizeEvent(QResizeEvent* Event)
{
    DrawnFont.reset();
    QToolButton::resizeEvent(Event);
}

void TCaptionButton::FontChanged()
{
    DrawnFont.reset();
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::ButtonText, ToQColor(Font().Color()));
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
    // The face decides which characters the caption's codes are drawn as.
    ShowCaption();
}

void TCaptionButton::ShowCaption()
{
    QString Shown = DisplayText(Font().Name(), CaptionValue);
    Shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    DrawnFont.reset();
    setText(Shown);
}
