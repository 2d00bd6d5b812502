#include "TMemo.h"

#include <QPalette>
#include <QTextDocument>
#include <QTextOption>

TMemo::TMemo(QWidget* Parent)
    : QTextEdit(Parent)
    , TFontHolder(this)
{
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // Trailing blanks are part of the text; the document keeps them as they are.
    document()->setDocumentMargin(2);
    TakeParentFont();
}

std::vector<std::string> TMemo::Lines() const
{
    std::vector<std::string> Result;
    for (const QString& Line : toPlainText().split(QLatin1Char('\n'))) {
        const QByteArray Bytes = Line.toLatin1();
        Result.emplace_back(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
    }
    return Result;
}

void TMemo::SetAlignment(TAlignment Alignment)
{
    AlignmentValue = Alignment;
    QTextOption Option = document()->defaultTextOption();
    Option.setAlignment(Alignment == taCenter ? Qt::AlignHCenter
            : Alignment == taRightJustify     ? Qt::AlignRight
                                              : Qt::AlignLeft);
    document()->setDefaultTextOption(Option);
}

void TMemo::SetParentColor(bool ParentColor)
{
    ParentColorValue = ParentColor;
    QPalette Palette = palette();
    const QPalette::ColorRole Source = ParentColor ? QPalette::Window : QPalette::Base;
    Palette.setColor(QPalette::Base, parentWidget() ? parentWidget()->palette().color(Source)
                                                    : QPalette().color(Source));
    setPalette(Palette);
}

void TMemo::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::Text, ToQColor(Font().Color()));
    setPalette(Palette);
}
