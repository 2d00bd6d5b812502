#include "TButton.h"

#include "FitText.h"
#include "SysUtils.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionButton>

TButton::TButton(QWidget* Parent)
    : QPushButton(Parent)
    , WantedFont(font())
{
    connect(this, &QPushButton::clicked, this, [this] {
        // Qt's event dispatch cannot unwind an exception.
        try {
            if (OnClick)
                OnClick(this);
        } catch (...) {
            HandleException(std::current_exception());
        }
    });
}

void TButton::FitCaption()
{
    QStyleOptionButton Option;
    initStyleOption(&Option);
    const QRect Room = style()->subElementRect(QStyle::SE_PushButtonContents, &Option, this);
    const QFont Fitted = FittedFont(WantedFont, text(), Room.size());
    if (Fitted != font()) {
        Fitting = true;
        setFont(Fitted);
        Fitting = false;
    }
}

void TButton::changeEvent(QEvent* Event)
{
    QPushButton::changeEvent(Event);
    if (Event->type() == QEvent::FontChange && !Fitting) {
        WantedFont = font();
        FitCaption();
    }
    if (Event->type() == QEvent::LanguageChange)
        FitCaption();
}

void TButton::resizeEvent(QResizeEvent* Event)
{
    QPushButton::resizeEvent(Event);
    FitCaption();
}
