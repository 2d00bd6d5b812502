#include "TButton.h"

#include "FitText.h"
#include "SysUtils.h"
#include "TForm.h"

#include <QPalette>
#include <QStyle>
#include <QStyleOptionButton>

TButton::TButton(QWidget* Parent)
    : QPushButton(Parent)
    , TFontHolder(this)
{
    setAutoDefault(true);
    connect(this, &QPushButton::clicked, this, &TButton::Clicked);
    TakeParentFont();
}

void TButton::Clicked()
{
    // Qt's event dispatch cannot unwind an exception; it ends here, reported.
    try {
        if (OnClick)
            OnClick(this);
    } catch (...) {
        HandleException(std::current_exception());
    }
    if (ModalResultValue != 0) {
        if (auto* Form = qobject_cast<TForm*>(window()))
            Form->SetModalResult(ModalResultValue);
    }
}

void TButton::FitCaption()
{
    QStyleOptionButton Option;
    initStyleOption(&Option);
    const QRect Room = style()->subElementRect(QStyle::SE_PushButtonContents, &Option, this);
    const QFont Fitted = FittedFont(ToQFont(Font()), text(), Room.size());
    if (Fitted != font())
        setFont(Fitted);
}

void TButton::resizeEvent(QResizeEvent* Event)
{
    QPushButton::resizeEvent(Event);
    FitCaption();
}

void TButton::FontChanged()
{
    setFont(ToQFont(Font()));
    FitCaption();
    QPalette Palette = palette();
    Palette.setColor(QPalette::ButtonText, ToQColor(Font().Color()));
    setPalette(Palette);
}
