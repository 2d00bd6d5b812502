#pragma once
// A panel: a plain area that holds other controls, with an optional border of bevels.
//
// Children are placed in the panel's own coordinates, from its outer top-left corner: the border
// and the bevels are painted over the panel's edge and never move a child, so a control derived
// from the panel lays its children out itself, inside the border it computes.
#include "Classes.h"
#include "TColor.h"
#include "TFont.h"

#include <QFrame>

#include <cstdint>

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public QFrame, public TFontHolder {
    Q_OBJECT

public:
    explicit TPanel(QWidget* Owner = nullptr);

    int BorderWidth() const { return BorderWidthValue; }
    void SetBorderWidth(int Width);
    TBevelCut BevelInner() const { return BevelInnerValue; }
    void SetBevelInner(TBevelCut Bevel);
    TBevelCut BevelOuter() const { return BevelOuterValue; }
    void SetBevelOuter(TBevelCut Bevel);
    int BevelWidth() const { return BevelWidthValue; }
    void SetBevelWidth(int Width);
    TColor Color() const { return ColorValue; }
    void SetColor(TColor Color);

    // Moves and sizes the panel. Resize runs before this returns, also while the panel is not
    // shown (Qt itself would hold the resize back until the panel is first shown).
    void SetBounds(int Left, int Top, int Width, int Height);

    // Fired by the inherited Resize after every change of the panel's size.
    TNotifyEvent OnResize;

protected:
    // Called after every change of the panel's size. An override calls the inherited one first.
    virtual void Resize();

    void FontChanged() override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    int BorderWidthValue = 0;
    TBevelCut BevelInnerValue = bvNone;
    TBevelCut BevelOuterValue = bvRaised;
    int BevelWidthValue = 1;
    TColor ColorValue = clBtnFace;
};
