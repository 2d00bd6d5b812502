#include "StoredSettings.h"

#include "Align.h"
#include "TFont.h"
#include "TPanel.h"
#include "TToolBar.h"

#include <QString>

#include <string>

namespace {

// A stored enumeration value: a number, or a name such as "alTop" looked up in Names.
template <typename TEnum, std::size_t Count>
bool ReadEnum(const QVariant& Value, const char* const (&Names)[Count], TEnum& Result)
{
    bool IsNumber = false;
    const int Number = Value.toInt(&IsNumber);
    if (IsNumber && Number >= 0 && static_cast<std::size_t>(Number) < Count) {
        Result = static_cast<TEnum>(Number);
        return true;
    }
    const QString Name = Value.toString();
    for (std::size_t Index = 0; Index < Count; ++Index) {
        if (Name == QLatin1String(Names[Index])) {
            Result = static_cast<TEnum>(Index);
            return true;
        }
    }
    qWarning("Unknown stored value '%s'", qPrintable(Name));
    return false;
}

const char* const AlignNames[] = { "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient" };
const char* const BevelNames[] = { "bvNone", "bvLowered", "bvRaised", "bvSpace" };
const char* const FontStyleNames[] = { "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut" };

void LoadFont(QWidget* Control)
{
    auto* Holder = dynamic_cast<TFontHolder*>(Control);
    if (!Holder)
        return;
    const QVariant Name = Control->property("Font.Name");
    const QVariant Height = Control->property("Font.Height");
    const QVariant Style = Control->property("Font.Style");
    const QVariant Color = Control->property("Font.Color");
    if (!Name.isValid() && !Height.isValid() && !Style.isValid() && !Color.isValid())
        return;
    // The description is complete in itself: what it leaves out is the parent's.
    TFont Font = Holder->Font();
    if (Name.isValid())
        Font.SetName(Name.toString().toStdString());
    if (Height.isValid())
        Font.SetHeight(Height.toInt());
    if (Style.isValid()) {
        TFontStyles Styles;
        for (const QString& Item : Style.toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            TFontStyle One {};
            if (ReadEnum(QVariant(Item.trimmed()), FontStyleNames, One))
                Styles.Include(One);
        }
        Font.SetStyle(Styles);
    }
    TColor FontColor {};
    if (Color.isValid() && ReadStoredColor(Color, FontColor))
        Font.SetColor(FontColor);
    Holder->SetFont(Font);
}

void LoadPanel(QWidget* Control)
{
    auto* Panel = dynamic_cast<TPanel*>(Control);
    if (!Panel)
        return;
    TBevelCut Bevel {};
    if (const QVariant Value = Control->property("BevelOuter"); Value.isValid() && ReadEnum(Value, BevelNames, Bevel))
        Panel->SetBevelOuter(Bevel);
    if (const QVariant Value = Control->property("BevelInner"); Value.isValid() && ReadEnum(Value, BevelNames, Bevel))
        Panel->SetBevelInner(Bevel);
    if (const QVariant Value = Control->property("BevelWidth"); Value.isValid())
        Panel->SetBevelWidth(Value.toInt());
    if (const QVariant Value = Control->property("BorderWidth"); Value.isValid())
        Panel->SetBorderWidth(Value.toInt());
    TColor Color {};
    if (const QVariant Value = Control->property("Color"); Value.isValid() && ReadStoredColor(Value, Color))
        Panel->SetColor(Color);
    // A single border is the sunken line that the system draws around a framed area.
    if (Control->property("BorderStyle").toString() == QLatin1String("bsSingle")) {
        Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        Panel->setLineWidth(1);
    }
}

// Depth first, parents before children, so that a child's stored font overrides what it
// inherited and the parent's alignment has sized it before its own children are aligned.
void LoadControl(QWidget* Control)
{
    LoadFont(Control);
    LoadPanel(Control);
    if (const QVariant Value = Control->property(AlignProperty); Value.isValid() && Value.typeId() != QMetaType::Int) {
        TAlign Align = alNone;
        if (ReadEnum(Value, AlignNames, Align))
            SetAlign(Control, Align);
    } else if (Value.isValid()) {
        WatchForAlignment(Control->parentWidget());
    }
    for (QObject* Child : Control->children()) {
        if (auto* ChildControl = qobject_cast<QWidget*>(Child); ChildControl && !ChildControl->isWindow())
            LoadControl(ChildControl);
    }
    AlignControls(Control);
    if (auto* ToolBar = qobject_cast<TToolBar*>(Control))
        ToolBar->ArrangeButtons();
}

} // namespace

bool ReadStoredColor(const QVariant& Value, TColor& Result)
{
    static const std::pair<const char*, TColor> Named[] = {
        { "clBlack", clBlack }, { "clNavy", clNavy }, { "clWhite", clWhite }, { "clBlue", clBlue },
        { "clRed", clRed }, { "clYellow", clYellow }, { "clGray", clGray }, { "clSilver", clSilver },
        { "clWindow", clWindow }, { "clWindowText", clWindowText }, { "clBtnFace", clBtnFace },
        { "clBtnText", clBtnText },
    };
    bool IsNumber = false;
    const qlonglong Number = Value.toString().toLongLong(&IsNumber, 0);
    if (IsNumber) {
        Result = static_cast<TColor>(Number);
        return true;
    }
    for (const auto& [Name, Color] : Named) {
        if (Value.toString() == QLatin1String(Name)) {
            Result = Color;
            return true;
        }
    }
    qWarning("Unknown stored colour '%s'", qPrintable(Value.toString()));
    return false;
}

void LoadStoredSettings(QWidget* Control) { LoadControl(Control); }
