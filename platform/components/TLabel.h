#pragma once
// A line of text on its parent's background that, where it is too narrow for its text (a long
// translation, a narrow screen), draws it smaller (FitText.h), and not at all where even the
// smallest size would be cut off.
#include <QLabel>

class TLabel : public QLabel {
    Q_OBJECT

public:
    explicit TLabel(QWidget* Parent = nullptr);

protected:
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void FitCaption();

    // The font asked for; what is drawn may be smaller.
    QFont WantedFont;
    QString FittedText;
    bool Fitting = false;
    bool CaptionFits = true;
};
