#pragma once
// A push button. A click runs OnClick and then, if ModalResult is not zero, ends the modal
// showing of the button's window with that result. Enter and the space bar click it while it
// has the focus.
#include "Classes.h"
#include "TFont.h"

#include <QPushButton>

class TButton : public QPushButton, public TFontHolder {
    Q_OBJECT
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

public:
    explicit TButton(QWidget* Parent = nullptr);

    int ModalResult() const { return ModalResultValue; }
    void SetModalResult(int Result) { ModalResultValue = Result; }

    TNotifyEvent OnClick;

protected:
    void FontChanged() override;

private:
    void Clicked();

    int ModalResultValue = 0;
};
