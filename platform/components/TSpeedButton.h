#pragma once
// A push button that never takes the keyboard focus, so that clicking it leaves the focus in
// whatever widget or program had it. It shows an 8-bit caption in its font, literally: an
// ampersand is drawn, not read as a mnemonic.
#include "Classes.h"
#include "TFont.h"

#include <QToolButton>

#include <string>

class TSpeedButton : public QToolButton, public TFontHolder {
    Q_OBJECT

public:
    explicit TSpeedButton(QWidget* Owner);

    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(const std::string& Caption);
    bool Flat() const { return autoRaise(); }
    void SetFlat(bool Flat) { setAutoRaise(Flat); }
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Enabled) { setEnabled(Enabled); }
    // The button's own visibility, whether or not its parent is shown.
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool Visible) { setVisible(Visible); }

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetBounds(int Left, int Top, int Width, int Height) { setGeometry(Left, Top, Width, Height); }

    // Runs OnClick as a click does.
    void Click();

    // Called with the button as Sender when it is clicked.
    TNotifyEvent OnClick;

protected:
    void FontChanged() override;

private:
    void ShowCaption();

    std::string CaptionValue;
};
