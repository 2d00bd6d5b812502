#include "TLabel.h"

#include "FitText.h"
#include "FontSubstitution.h"

#include <QPalette>

TLabel::TLabel(QWidget* Parent)
    : QLabel(Parent)
    , TFontHolder(this)
{
    setTextFormat(Qt::PlainText);
    SetAlignment(AlignmentValue);
    TakeParentFont();
}

void TLabel::SetCaption(const std::string& Caption)
{
    CaptionValue = Caption;
    ShowCaption();
}

QString TLabel::CaptionText() const
{
    return QString::fromLatin1(CaptionValue.data(), static_cast<qsizetype>(CaptionValue.size()));
}

void TLabel::SetCaptionText(const QString& Caption)
{
    const QByteArray Bytes = Caption.toLatin1();
    SetCaption(std::string(Bytes.constData(), static_cast<std::size_t>(Bytes.size())));
}

void TLabel::SetAlignment(TAlignment Alignment)
{
    AlignmentValue = Alignment;
    const Qt::Alignment Horizontal = Alignment == taCenter ? Qt::AlignHCenter
        : Alignment == taRightJustify                      ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    setAlignment(Horizontal | Qt::AlignTop);
}

void TLabel::SetAutoSize(bool AutoSize)
{
    AutoSizeValue = AutoSize;
    ShowCaption();
}

void TLabel::ShowCaption()
{
    setText(DisplayText(Font().Name(), CaptionValue));
    if (AutoSizeValue)
        resize(sizeHint());
    else
        FitCaption();
}

void TLabel::FitCaption()
{
    const QFont Wanted = ToQFont(Font());
    const QFont Fitted = AutoSizeValue ? Wanted : FittedFont(Wanted, text(), contentsRect().size());
    CaptionFits = AutoSizeValue || contentsRect().isEmpty() || ShowsWhole(Fitted, text(), contentsRect().size());
    if (Fitted != font())
        setFont(Fitted);
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

void TLabel::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
    ShowCaption();
}
