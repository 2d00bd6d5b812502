#include "TLabel.h"

#include "FitText.h"
#include "FontSubstitution.h"

#include <QEvent>

TLabel::TLabel(QWidget* Parent)
    : QLabel(Parent)
    , WantedFont(font())
{
    setTextFormat(Qt::PlainText);
}

void TLabel::SetCaption(const std::string& Caption)
{
    CaptionValue = Caption;
    setText(DisplayText(WantedFont.family().toStdString(), CaptionValue));
    QFont Shown = WantedFont;
    Shown.setFamily(DisplayFamily(WantedFont.family().toStdString()));
    Fitting = true;
    setFont(Shown);
    Fitting = false;
    FitCaption();
}

void TLabel::FitCaption()
{
    // A label that sizes itself (the logo) is never shrunk; the size policy says which.
    const bool Fixed = sizePolicy().horizontalPolicy() == QSizePolicy::Fixed;
    if (Fixed) {
        resize(sizeHint());
        return;
    }
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
    if (Event->type() == QEvent::FontChange && !Fitting) {
        WantedFont = font();
        if (!CaptionValue.empty())
            SetCaption(CaptionValue);
        else
            FitCaption();
    }
}
