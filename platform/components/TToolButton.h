#pragma once
// A button of the accent toolbar: shows its caption (8-bit codes of the keypad font) and runs
// OnClick. It never takes the keyboard focus.
#include "TCaptionButton.h"

#include <string>

class TToolButton : public TCaptionButton {
    Q_OBJECT

public:
    explicit TToolButton(QWidget* Parent = nullptr)
        : TCaptionButton(Parent)
    {
    }

    // The caption's codes, whatever the display substitute draws for them.
    std::string GetText() const { return Caption(); }

    TNotifyEvent OnClick;

protected:
    void Clicked() override
    {
        if (OnClick)
            OnClick(this);
    }
};
