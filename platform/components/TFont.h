#pragma once
// Fonts as the components describe them (face, character height, style, colour), and the rule
// by which a control takes its parent's font until it is given one of its own.
#include "Sets.h"
#include "TColor.h"

#include <cstdint>
#include <functional>
#include <string>

class QFont;
class QWidget;

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, std::uint8_t>;

// Sizes are measured at 96 pixels per inch, the resolution the window descriptions are laid
// out for; a point is then 4/3 of a pixel.
class TFont {
public:
    TFont() = default;
    // A copy takes the description only: whoever watched the original does not watch the copy.
    TFont(const TFont& Other);
    TFont& operator=(const TFont& Other);

    const std::string& Name() const { return NameValue; }
    void SetName(const std::string& Name);
    // The character height in pixels (the em, without internal leading).
    int Height() const { return HeightValue; }
    void SetHeight(int Height);
    int Size() const;
    void SetSize(int Points);
    TFontStyles Style() const { return StyleValue; }
    void SetStyle(TFontStyles Style);
    TColor Color() const { return ColorValue; }
    void SetColor(TColor Color);

    // Takes over face, height, style and colour, telling the watcher once.
    void Assign(const TFont& Source);

    bool SameAs(const TFont& Other) const;

    // Called after every change of the description.
    std::function<void()> OnChange;

private:
    void Changed();

    std::string NameValue = "MS Sans Serif";
    int HeightValue = 11;
    TFontStyles StyleValue;
    TColor ColorValue = clWindowText;
};

// The Qt font that draws text in Font, through the display substitute of its face if it has one.
// The colour is not part of a QFont; see ToQColor.
QFont ToQFont(const TFont& Font);

// A control with a font of its own that it can take from its parent. While ParentFont is true the
// control's font is a copy of the nearest ancestor's font and follows its changes; any change
// made to the control's own font ends that. Setting ParentFont to true takes the parent's again.
class TFontHolder {
public:
    explicit TFontHolder(QWidget* Self);
    virtual ~TFontHolder() = default;
    TFontHolder(const TFontHolder&) = delete;
    TFontHolder& operator=(const TFontHolder&) = delete;

    TFont& Font() { return FontValue; }
    const TFont& Font() const { return FontValue; }
    void SetFont(const TFont& Font) { FontValue.Assign(Font); }
    bool ParentFont() const { return ParentFontValue; }
    void SetParentFont(bool ParentFont);

protected:
    // Shows the control's current font; called after every change of it.
    virtual void FontChanged() = 0;
    // Takes the parent's font; a derived class calls it once its construction is done.
    void TakeParentFont();

private:
    void OwnFontChanged();

    QWidget* Self = nullptr;
    TFont FontValue;
    bool ParentFontValue = true;
    bool TakingParentFont = false;
};
