#pragma once
// A panel: a plain area that holds other controls, with an optional bevel drawn as Qt's frame.
//
// A control derived from the panel lays its children out itself, in the panel's own
// coordinates, inside the border and bevels it computes from these properties.
#include "Classes.h"

#include <QFrame>

#include <cstdint>

class TPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)

public:
    enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TBevelCut)

    explicit TPanel(QWidget* Owner = nullptr);

    int BorderWidth() const { return BorderWidthValue; }
    void SetBorderWidth(int Width) { BorderWidthValue = Width; }
    TBevelCut BevelInner() const { return BevelInnerValue; }
    void SetBevelInner(TBevelCut Bevel) { BevelInnerValue = Bevel; }
    TBevelCut BevelOuter() const { return BevelOuterValue; }
    void SetBevelOuter(TBevelCut Bevel);
    int BevelWidth() const { return BevelWidthValue; }
    void SetBevelWidth(int Width);

    // Moves and sizes the panel. Resize runs before this returns, also while the panel is not
    // shown: Qt holds a hidden widget's resize event back until it is shown, and the keypad's
    // keys must have their places at once.
    void SetBounds(int Left, int Top, int Width, int Height);

    // Fired by the inherited Resize after every change of the panel's size.
    TNotifyEvent OnResize;

protected:
    // Called after every change of the panel's size. An override calls the inherited one first.
    virtual void Resize();
    void resizeEvent(QResizeEvent* Event) override;

private:
    void ShowBevel();

    int BorderWidthValue = 0;
    TBevelCut BevelInnerValue = bvNone;
    TBevelCut BevelOuterValue = bvRaised;
    int BevelWidthValue = 1;
};
