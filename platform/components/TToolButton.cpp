#include "TToolButton.h"

#include "FontSubstitution.h"
#include "SysUtils.h"
#include "TToolBar.h"

#include <QPalette>

TToolButton::TToolButton(QWidget* Parent)
    : QToolButton(Parent)
    , TFontHolder(this)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(this, &QToolButton::clicked, this, [this] {
        if (!OnClick || StyleValue == tbsSeparator)
            return;
        // Qt's event dispatch cannot unwind an exception; it ends here, reported.
        try {
            OnClick(this);
        } catch (...) {
            HandleException(std::current_exception());
        }
    });
    TakeParentFont();
}

void TToolButton::SetCaption(const std::string& Caption)
{
    CaptionValue = Caption;
    ShowCaption();
}

QString TToolButton::CaptionText() const
{
    return QString::fromLatin1(CaptionValue.data(), static_cast<qsizetype>(CaptionValue.size()));
}

void TToolButton::SetCaptionText(const QString& Caption)
{
    const QByteArray Bytes = Caption.toLatin1();
    SetCaption(std::string(Bytes.constData(), static_cast<std::size_t>(Bytes.size())));
}

void TToolButton::ShowCaption()
{
    QString Shown = DisplayText(Font().Name(), CaptionValue);
    // Qt reads a lone '&' as a mnemonic marker; the caption shows it as it is.
    Shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    setText(Shown);
}

void TToolButton::SetWrap(bool Wrap)
{
    WrapValue = Wrap;
    LayoutChanged();
}

void TToolButton::SetStyle(TToolButtonStyle Style)
{
    StyleValue = Style;
    setEnabled(Style != tbsSeparator);
    setAttribute(Qt::WA_TransparentForMouseEvents, Style == tbsSeparator);
    LayoutChanged();
    update();
}

void TToolButton::LayoutChanged()
{
    if (auto* ToolBar = qobject_cast<TToolBar*>(parentWidget()))
        ToolBar->ArrangeButtons();
}

void TToolButton::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::ButtonText, ToQColor(Font().Color()));
    setPalette(Palette);
    ShowCaption();
}

void TToolButton::paintEvent(QPaintEvent* Event)
{
    if (StyleValue == tbsSeparator)
        return;
    QToolButton::paintEvent(Event);
}
