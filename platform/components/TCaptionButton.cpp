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

void TCaptionButton::mousePressEvent(QMouseEvent* Event)
{
    std::optional<TRepeatTiming> Timing;
    if (Event->button() == Qt::LeftButton && RepeatTiming && hitButton(Event->position().toPoint()))
        Timing = RepeatTiming();
    if (!Timing) {
        QToolButton::mousePressEvent(Event);
        return;
    }
    // As a physical key: the first click at once, before Qt's repaint of the pressed button.
    HeldToRepeat = true;
    SincePress.start();
    RepeatInterval = std::max(1, Timing->IntervalMilliseconds);
    QPointer<TCaptionButton> Alive(this);
    ReportClick();
    if (!Alive)
        return;
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
    // Each repeat is due at delay + n intervals from the press, however late the one before
    // it ran: the timing does not drift with the time the clicks take.
    ++RepeatsDone;
    const qint64 NextDue = RepeatDelay + qint64(RepeatsDone) * RepeatInterval;
    RepeatTimer->start(static_cast<int>(std::max<qint64>(0, NextDue - SincePress.elapsed())));
    // A pointer dragged off the button pauses the repeat, as Qt shows the button up then.
    if (isDown())
        ReportClick();
}

void TCaptionButton::mouseReleaseEvent(QMouseEvent* Event)
{
    if (HeldToRepeat && Event->button() == Qt::LeftButton) {
        // Every click of this press has been reported; the one Qt announces now is not another.
        HeldToRepeat = false;
        RepeatTimer->stop();
        ClickReported = true;
        QToolButton::mouseReleaseEvent(Event);
        ClickReported = false;
        return;
    }
    // Qt repaints a released button synchronously, text and all, before it announces the
    // click. The click is the user's keystroke and goes first; the repaint follows it.
    const bool Clicks = Event->button() == Qt::LeftButton && isDown()
        && hitButton(Event->position().toPoint());
    QPointer<TCaptionButton> Alive(this);
    if (Clicks) {
        ClickReported = true;
        ReportClick();
    }
    if (!Alive)
        return;
    QToolButton::mouseReleaseEvent(Event);
    ClickReported = false;
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
