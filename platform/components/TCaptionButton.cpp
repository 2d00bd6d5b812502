#include "TCaptionButton.h"

#include "FitText.h"
#include "FontSubstitution.h"
#include "SysUtils.h"

#include <QMouseEvent>
#include <QPointer>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QTimer>

TCaptionButton::TCaptionButton(QWidget* Parent)
    : QToolButton(Parent)
    , TimingValue(new TClickTiming(*this, [this] { ReportClick(); }))
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
}

void TCaptionButton::SetCaption(const std::string& Caption)
{
    CaptionValue = Caption;
    ShowCaption();
}

void TCaptionButton::mousePressEvent(QMouseEvent* Event)
{
    TimingValue->Press(*Event);
    QToolButton::mousePressEvent(Event);
}

void TCaptionButton::mouseMoveEvent(QMouseEvent* Event)
{
    QToolButton::mouseMoveEvent(Event);
    TimingValue->Motion(*Event);
}

void TCaptionButton::mouseReleaseEvent(QMouseEvent* Event)
{
    if (Event->button() != Qt::LeftButton) {
        QToolButton::mouseReleaseEvent(Event);
        return;
    }
    const bool ClickedAlready = TimingValue->Release();
    const bool Clicks = !ClickedAlready && TimingValue->ClicksAtRelease(*Event, isDown() && hitButton(Event->position().toPoint()));
    const std::vector<QPoint> Lost = TimingValue->LostClicks(*Event);
    QPointer<TCaptionButton> Alive(this);
    ClickReported = ClickedAlready || Clicks;
    if (Clicks)
        ReportClick();
    TClickTiming::ClickLostClicks(Lost);
    if (!Alive)
        return;
    // Qt repaints a released button synchronously, text and all, before it announces the
    // click. The click is the user's keystroke and goes first; the repaint follows it a moment
    // later, so that it does not compete with the program handling the key for the processor.
    const bool Deferred = ClickReported && updatesEnabled();
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
        // The caption is drawn inside the button's frame, in the face that shows its codes.
        const int Frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &Option, this);
        QString Shown = text();
        Shown.replace(QLatin1String("&&"), QLatin1String("&"));
        QFont Wanted = font();
        Wanted.setFamily(DisplayFamily(font().family().toStdString()));
        DrawnFont = FittedFont(Wanted, Shown, rect().adjusted(Frame, Frame, -Frame, -Frame).size());
    }
    if (CaptionColorValue) {
        if (!CaptionPalette || CaptionPalette->color(QPalette::ButtonText) != *CaptionColorValue) {
            CaptionPalette = palette();
            CaptionPalette->setColor(QPalette::ButtonText, *CaptionColorValue);
        }
        CaptionPalette->setCurrentColorGroup(Option.palette.currentColorGroup());
        Option.palette = *CaptionPalette;
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

void TCaptionButton::changeEvent(QEvent* Event)
{
    // The face decides which characters the caption's codes are drawn as.
    if (Event->type() == QEvent::FontChange)
        ShowCaption();
    if (Event->type() == QEvent::PaletteChange)
        CaptionPalette.reset();
    QToolButton::changeEvent(Event);
}

void TCaptionButton::SetCaptionColor(const std::optional<QColor>& Colour)
{
    if (Colour == CaptionColorValue)
        return;
    CaptionColorValue = Colour;
    update();
}

QColor TCaptionButton::CaptionColor() const { return CaptionColorValue.value_or(palette().color(QPalette::ButtonText)); }

void TCaptionButton::ShowCaption()
{
    QString Shown = DisplayText(font().family().toStdString(), CaptionValue);
    Shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    DrawnFont.reset();
    setText(Shown);
}
