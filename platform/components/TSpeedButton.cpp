#include "TSpeedButton.h"

#include "FontSubstitution.h"
#include "SysUtils.h"

#include <QPalette>

TSpeedButton::TSpeedButton(QWidget* Owner)
    : QToolButton(Owner)
    , TFontHolder(this)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(this, &QToolButton::clicked, this, [this] {
        // Qt's event dispatch cannot unwind an exception; it ends here, reported.
        try {
            Click();
        } catch (...) {
            HandleException(std::current_exception());
        }
    });
    TakeParentFont();
    // A control created inside a parent that is already on screen shows with it at once; one
    // created before shows when the parent does.
    if (Owner)
        show();
}

void TSpeedButton::SetCaption(const std::string& Caption)
{
    CaptionValue = Caption;
    ShowCaption();
}

void TSpeedButton::Click()
{
    if (OnClick)
        OnClick(this);
}

void TSpeedButton::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::ButtonText, ToQColor(Font().Color()));
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
    // The face decides which characters the caption's codes are drawn as.
    ShowCaption();
}

void TSpeedButton::ShowCaption()
{
    QString Shown = DisplayText(Font().Name(), CaptionValue);
    Shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    setText(Shown);
}
