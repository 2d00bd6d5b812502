#include "TLabel.h"

#include "FitText.h"

#include <QEvent>

TLabel::TLabel(QWidget* Parent)
    : QLabel(Parent)
    , WantedFont(font())
{
    setTextFormat(Qt::PlainText);
}

void TLabel::FitCaption()
{
    FittedText = text();
    const QFont Fitted = FittedFont(WantedFont, text(), contentsRect().size());
    CaptionFits = contentsRect().isEmpty() || ShowsWhole(Fitted, text(), contentsRect().size());
    if (Fitted != font()) {
        Fitting = true;
        setFont(Fitted);
        Fitting = false;
    }
}

void TLabel::paintEvent(QPaintEvent* Event)
{
    // A new text (a translation, another output's banner) is fitted before it is drawn.
    if (text() != FittedText)
        FitCaption();
    if (CaptionFits)
        QLabel::paintEvent(Event);
}

void TLabel::resizeEvent(QResizeEvent* Event)
{
    QLabel::resizeEvent(Event);
    FitCaption();
}

void TLabel::changeEvent(QEvent* Event)
{
    QLabel::changeEvent(Event);
    if (Event->type() == QEvent::FontChange && !Fitting)
        WantedFont = font();
}
