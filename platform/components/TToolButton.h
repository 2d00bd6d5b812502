#pragma once
// A button of a tool bar: shows its caption, in the tool bar's font unless it has its own, and
// runs OnClick. A separator only keeps a cell empty: it shows nothing and takes no clicks.
// Tool buttons never take the keyboard focus.
#include "TCaptionButton.h"

#include <cstdint>
#include <string>

class TToolButton : public TCaptionButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ CaptionText WRITE SetCaptionText)
    Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)
    Q_PROPERTY(TToolButtonStyle Style READ Style WRITE SetStyle)

public:
    enum TToolButtonStyle : std::uint8_t { tbsButton, tbsSeparator };
    Q_ENUM(TToolButtonStyle)

    explicit TToolButton(QWidget* Parent = nullptr);

    // The caption as the program stores it: 8-bit codes. What is drawn may differ (see
    // FontSubstitution.h); GetText returns the codes.
    std::string GetText() const { return Caption(); }

    // A row of the tool bar ends after a button whose Wrap is set.
    bool Wrap() const { return WrapValue; }
    void SetWrap(bool Wrap);
    TToolButtonStyle Style() const { return StyleValue; }
    void SetStyle(TToolButtonStyle Style);

    TNotifyEvent OnClick;

protected:
    void Clicked() override;
    void paintEvent(QPaintEvent* Event) override;

private:
    QString CaptionText() const;
    void SetCaptionText(const QString& Caption);
    void LayoutChanged();

    bool WrapValue = false;
    TToolButtonStyle StyleValue = tbsButton;
};
