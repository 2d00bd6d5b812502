#pragma once
// A top-level window built from a stored window description (a Designer .ui file).
//
// A window class calls setupUi and then Loaded(): Loaded applies the settings that Qt's own
// properties cannot carry (fonts as face and character height, panel bevels, alignment, the
// active control), which uic stores on each widget as a dynamic property, and then aligns every
// aligned control. Bounds are those of the outer frame, the window manager's decorations
// included, as the rest of the program counts them; Qt's geometry() is the client area.
#include "Align.h"
#include "Classes.h"
#include "StoredSettings.h"
#include "TFont.h"

#include <QRect>
#include <QVariant>
#include <QWidget>

#include <cstdint>
#include <optional>

class TForm : public QWidget, public TFontHolder {
    Q_OBJECT
    Q_PROPERTY(TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool AcceptFocus READ AcceptFocus WRITE SetAcceptFocus)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)

public:
    enum TFormStyle : std::uint8_t { fsNormal, fsStayOnTop };
    Q_ENUM(TFormStyle)
    enum TFormBorderStyle : std::uint8_t { bsSizeable, bsDialog };
    Q_ENUM(TFormBorderStyle)
    // poDefault lets the window manager place the window unless the program sets a position.
    enum TPosition : std::uint8_t { poDefault, poDesigned, poScreenCenter };
    Q_ENUM(TPosition)

    static constexpr int mrNone = 0;
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    explicit TForm(QWidget* Parent = nullptr);

    TFormStyle FormStyle() const { return FormStyleValue; }
    void SetFormStyle(TFormStyle Style);
    TFormBorderStyle BorderStyle() const { return BorderStyleValue; }
    void SetBorderStyle(TFormBorderStyle Style);
    TPosition Position() const { return PositionValue; }
    void SetPosition(TPosition Position) { PositionValue = Position; }
    // False for a window that must never take the input focus: a click leaves the focus where
    // it was, in the program the user is typing into.
    bool AcceptFocus() const { return AcceptFocusValue; }
    void SetAcceptFocus(bool Accept);

    // The outer frame, in screen coordinates.
    int Left() const { return OuterBounds().left(); }
    int Top() const { return OuterBounds().top(); }
    int Width() const { return OuterBounds().width(); }
    int Height() const { return OuterBounds().height(); }
    void SetLeft(int Left);
    void SetTop(int Top);
    void SetWidth(int Width);
    void SetHeight(int Height);
    void SetBounds(int Left, int Top, int Width, int Height);
    // False while the window is still on its way to the bounds the program asked for.
    bool BoundsSettled() const { return !RequestedPosition && !RequestedSize && !CenterRequested; }

    // Shows the window modally and returns its modal result once it is closed (hidden).
    int ShowModal();
    int ModalResult() const { return ModalResultValue; }
    // A non-zero result ends a modal showing.
    void SetModalResult(int Result);

    // Raised once by the application object after the window has been built.
    TNotifyEvent OnCreate;
    void DoCreate();

protected:
    // Applies the stored settings of the window and its controls; see the top of this file.
    void Loaded();

    void FontChanged() override;
    bool event(QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;

private:
    QRect OuterBounds() const;
    void ApplyWindowFlags();
    // The frame of the window manager is known only once the window is on screen; until then
    // the requested outer bounds are asked for again at every resize, and checked a few times
    // after the first exposure (Settle), when the window is moved by what it is off.
    void ApplyRequestedBounds(bool Settle);
    QSize FrameExtra() const;

    TFormStyle FormStyleValue = fsNormal;
    TFormBorderStyle BorderStyleValue = bsSizeable;
    TPosition PositionValue = poDefault;
    bool AcceptFocusValue = true;
    // What the program asked for and the window has not reached yet.
    std::optional<QPoint> RequestedPosition;
    std::optional<QSize> RequestedSize;
    bool CenterRequested = false;
    // A designed place still to be checked against the screen once the frame is known.
    bool KeepOnScreen = false;
    // The last position handed to Qt, and how many corrections are left: a window manager may
    // place the frame off the asked position by its decorations, and is then asked again.
    QPoint LastMoveTarget;
    int CorrectionsLeft = 0;
    // Checks left after the first exposure, and the frame size they last saw.
    int SettleChecksLeft = 0;
    QSize KnownFrameExtra;
    int ModalResultValue = mrNone;
    bool InModalLoop = false;
};
