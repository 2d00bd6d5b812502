#include "TToolBar.h"

#include "TToolButton.h"

#include <QPalette>

TToolBar::TToolBar(QWidget* Parent)
    : QFrame(Parent)
    , TFontHolder(this)
{
    setFrameStyle(QFrame::NoFrame);
    TakeParentFont();
}

void TToolBar::SetButtonWidth(int Width)
{
    ButtonWidthValue = Width;
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int Height)
{
    ButtonHeightValue = Height;
    ArrangeButtons();
}

void TToolBar::SetIndent(int Indent)
{
    IndentValue = Indent;
    ArrangeButtons();
}

void TToolBar::SetWrapable(bool Wrapable)
{
    WrapableValue = Wrapable;
    ArrangeButtons();
}

void TToolBar::SetShowCaptions(bool Show)
{
    ShowCaptionsValue = Show;
    for (QObject* Child : children()) {
        if (auto* Button = qobject_cast<TToolButton*>(Child))
            Button->setToolButtonStyle(Show ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    }
}

void TToolBar::ArrangeButtons()
{
    int Left = IndentValue;
    int Top = TopMargin;
    for (QObject* Child : children()) {
        auto* Button = qobject_cast<TToolButton*>(Child);
        if (!Button || Button->isHidden())
            continue;
        // A separator keeps the width it was given; a button takes the cell's.
        const int Width = Button->Style() == TToolButton::tbsSeparator ? Button->width() : ButtonWidthValue;
        if (WrapableValue && Left > IndentValue && Left + Width > width()) {
            Left = IndentValue;
            Top += ButtonHeightValue;
        }
        Button->setGeometry(Left, Top, Width, ButtonHeightValue);
        Left += Width;
        if (Button->Wrap()) {
            Left = IndentValue;
            Top += ButtonHeightValue;
        }
    }
}

void TToolBar::FontChanged()
{
    setFont(ToQFont(Font()));
    QPalette Palette = palette();
    Palette.setColor(QPalette::WindowText, ToQColor(Font().Color()));
    setPalette(Palette);
}

void TToolBar::resizeEvent(QResizeEvent* Event)
{
    QFrame::resizeEvent(Event);
    ArrangeButtons();
}

void TToolBar::showEvent(QShowEvent* Event)
{
    QFrame::showEvent(Event);
    ArrangeButtons();
}
