#include "TToolButton.h"

#include "TToolBar.h"

TToolButton::TToolButton(QWidget* Parent)
    : TCaptionButton(Parent)
{
}

void TToolButton::Clicked()
{
    if (OnClick && StyleValue != tbsSeparator)
        OnClick(this);
}

QString TToolButton::CaptionText() const
{
    return QString::fromLatin1(Caption().data(), static_cast<qsizetype>(Caption().size()));
}

void TToolButton::SetCaptionText(const QString& Caption)
{
    const QByteArray Bytes = Caption.toLatin1();
    SetCaption(std::string(Bytes.constData(), static_cast<std::size_t>(Bytes.size())));
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

void TToolButton::paintEvent(QPaintEvent* Event)
{
    if (StyleValue == tbsSeparator)
        return;
    TCaptionButton::paintEvent(Event);
}
