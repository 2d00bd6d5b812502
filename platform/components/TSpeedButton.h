#pragma once
// A push button that never takes the keyboard focus, so that clicking it leaves the focus in
// whatever widget or program had it.
#include "TCaptionButton.h"

class TSpeedButton : public TCaptionButton {
    Q_OBJECT

public:
    explicit TSpeedButton(QWidget* Owner);

    bool Flat() const { return autoRaise(); }
    void SetFlat(bool Flat) { setAutoRaise(Flat); }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Enabled) { setEnabled(Enabled); }
    // The button's own visibility, whether or not its parent is shown.
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool Visible) { setVisible(Visible); }
    void SetBounds(int Left, int Top, int Width, int Height) { setGeometry(Left, Top, Width, Height); }

    // Runs OnClick as a click does.
    void Click()
    {
        if (OnClick)
            OnClick(this);
    }

    // Called with the button as Sender when it is clicked.
    TNotifyEvent OnClick;

protected:
    void Clicked() override { Click(); }
};
