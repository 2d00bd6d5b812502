#include "TCaptionButton.h"

#include "FontSubstitution.h"
#include "SysUtils.h"

#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QTimer>

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

void TCaptionButton::mouseReleaseEvent(QMouseEvent* Event)
{
    // Qt repaints a released button synchronously, text and all, before it announces the
    // click. The click is the user's keystroke and goes first; the repaint follows it, a moment
    // later, so that it does not compete with the program handling the key for the processor.
    const bool Clicks = Event->button() == Qt::LeftButton && isDown()
        && hitButton(Event->position().toPoint());
    QPointer<TCaptionButton> Alive(this);
    if (Clicks) {
        ClickReported = true;
        ReportClick();
    }
    if (!Alive)
        return;
    const bool Deferred = Clicks && updatesEnabled();
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

void TCaptionButton::FontChanged()
{
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
    setText(Shown);
}
