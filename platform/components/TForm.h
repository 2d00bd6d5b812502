#pragma once
// The main window's base: a top-level QWidget whose bounds are those of the outer frame, the
// window manager's decorations included, as the program counts them (Qt's geometry() is the
// client area). Stay-on-top and never taking the focus are window flags, set from the window
// description through FormStyle and AcceptFocus.
#include "Classes.h"

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <optional>

class TForm : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(bool AcceptFocus READ AcceptFocus WRITE SetAcceptFocus)

public:
    enum TFormStyle : std::uint8_t { fsNormal, fsStayOnTop };
    Q_ENUM(TFormStyle)

    explicit TForm(QWidget* Parent = nullptr);

    TFormStyle FormStyle() const { return FormStyleValue; }
    void SetFormStyle(TFormStyle Style);
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
    // False while the window still waits for the frame to reach the bounds the program asked for.
    bool BoundsSettled() const { return !Requested; }

    // Raised once by the application object after the window has been built.
    TNotifyEvent OnCreate;
    void DoCreate();

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QRect OuterBounds() const;
    QMargins FrameMargins() const;
    void ApplyRequest();
    void ApplyWindowFlags();

    TFormStyle FormStyleValue = fsNormal;
    bool AcceptFocusValue = true;
    // Outer bounds asked for that wait for the frame: the window manager's decorations are
    // known only once it has framed the window, and the client size is then corrected once.
    std::optional<QRect> Requested;
};
