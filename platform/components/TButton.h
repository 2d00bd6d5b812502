#pragma once
// A push button whose caption, too wide for it (a long translation, a narrow screen), is drawn
// smaller (see FitText.h). A click runs OnClick; an exception from it ends here, reported.
#include "Classes.h"

#include <QPushButton>

class TButton : public QPushButton {
    Q_OBJECT

public:
    explicit TButton(QWidget* Parent = nullptr);

    TNotifyEvent OnClick;

protected:
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void FitCaption();

    // The font asked for; what is drawn may be smaller.
    QFont WantedFont;
    bool Fitting = false;
};
