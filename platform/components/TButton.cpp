#include "TButton.h"

#include "SysUtils.h"
#include "TForm.h"

#include <QPalette>

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

void TButton::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::ButtonText, ToQColor(Font().Color()));
    setPalette(Palette);
}
