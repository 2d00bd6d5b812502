#pragma once
// A push button. A click runs OnClick and then, if ModalResult is not zero, ends the modal
// showing of the button's window with that result. Enter and the space bar click it while it
// has the focus. A caption too wide for the button is drawn smaller (see FitText.h).
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
    void resizeEvent(QResizeEvent* Event) override;

private:
    void FitCaption();
    void Clicked();

    int ModalResultValue = 0;
};
