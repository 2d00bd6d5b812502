#include "TFont.h"

#include "FontSubstitution.h"

#include <QFont>
#include <QWidget>

#include <cmath>

TFont::TFont(const TFont& Other)
    : NameValue(Other.NameValue)
    , HeightValue(Other.HeightValue)
    , StyleValue(Other.StyleValue)
    , ColorValue(Other.ColorValue)
{
}

TFont& TFont::operator=(const TFont& Other)
{
    Assign(Other);
    return *this;
}

void TFont::SetName(const std::string& Name)
{
    NameValue = Name;
    Changed();
}

void TFont::SetHeight(int Height)
{
    HeightValue = Height;
    Changed();
}

int TFont::Size() const { return static_cast<int>(std::lround(HeightValue * 72.0 / 96.0)); }

void TFont::SetSize(int Points) { SetHeight(static_cast<int>(std::lround(Points * 96.0 / 72.0))); }

void TFont::SetStyle(TFontStyles Style)
{
    StyleValue = Style;
    Changed();
}

void TFont::SetColor(TColor Color)
{
    ColorValue = Color;
    Changed();
}

void TFont::Assign(const TFont& Source)
{
    if (&Source == this)
        return;
    NameValue = Source.NameValue;
    HeightValue = Source.HeightValue;
    StyleValue = Source.StyleValue;
    ColorValue = Source.ColorValue;
    Changed();
}

bool TFont::SameAs(const TFont& Other) const
{
    return NameValue == Other.NameValue && HeightValue == Other.HeightValue
        && StyleValue == Other.StyleValue && ColorValue == Other.ColorValue;
}

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

QFont ToQFont(const TFont& Font)
{
    QFont Result(DisplayFamily(Font.Name()));
    if (Font.Height() > 0)
        Result.setPixelSize(Font.Height());
    const TFontStyles Style = Font.Style();
    Result.setBold(Style.Contains(fsBold));
    Result.setItalic(Style.Contains(fsItalic));
    Result.setUnderline(Style.Contains(fsUnderline));
    Result.setStrikeOut(Style.Contains(fsStrikeOut));
    return Result;
}

namespace {

const TFont* NearestAncestorFont(const QWidget* Control)
{
    for (const QWidget* Ancestor = Control->parentWidget(); Ancestor; Ancestor = Ancestor->parentWidget()) {
        if (const auto* Holder = dynamic_cast<const TFontHolder*>(Ancestor))
            return &Holder->Font();
    }
    return nullptr;
}

} // namespace

TFontHolder::TFontHolder(QWidget* Self)
    : Self(Self)
{
    FontValue.OnChange = [this] { OwnFontChanged(); };
}

void TFontHolder::SetParentFont(bool ParentFont)
{
    ParentFontValue = ParentFont;
    if (ParentFont)
        TakeParentFont();
}

void TFontHolder::TakeParentFont()
{
    const TFont* Inherited = NearestAncestorFont(Self);
    TakingParentFont = true;
    FontValue.Assign(Inherited ? *Inherited : TFont());
    TakingParentFont = false;
}

void TFontHolder::OwnFontChanged()
{
    if (!TakingParentFont)
        ParentFontValue = false;
    FontChanged();
    // Children that take their font from this control follow it; grandchildren follow in turn.
    for (QObject* Child : Self->children()) {
        auto* Holder = dynamic_cast<TFontHolder*>(Child);
        if (Holder && Holder->ParentFontValue)
            Holder->TakeParentFont();
    }
}
