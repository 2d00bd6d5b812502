#pragma once
// A picture. With AutoSize the control takes the picture's size.
#include "Classes.h"

#include <QLabel>

class TImage : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)

public:
    explicit TImage(QWidget* Parent = nullptr);

    bool AutoSize() const { return AutoSizeValue; }
    void SetAutoSize(bool AutoSize);

protected:
    bool event(QEvent* Event) override;

private:
    void FitPicture();

    bool AutoSizeValue = false;
};
