#pragma once
// A line of text on its parent's background. A text that is 8-bit codes of a substituted face
// (the logo's lettering in the keypad font) is drawn through the substitute (FontSubstitution.h);
// any other text is a QString as it is. A label that does not size itself to its text draws it
// smaller where it is too narrow for it (FitText.h), and not at all where even the smallest size
// would be cut off.
#include <QLabel>

#include <string>

class TLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QByteArray Caption READ CaptionBytes WRITE SetCaptionBytes)

public:
    explicit TLabel(QWidget* Parent = nullptr);

    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(const std::string& Caption);

protected:
    void changeEvent(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    QByteArray CaptionBytes() const { return QByteArray::fromStdString(CaptionValue); }
    void SetCaptionBytes(const QByteArray& Caption) { SetCaption(Caption.toStdString()); }
    void FitCaption();

    std::string CaptionValue;
    QFont WantedFont;
    bool Fitting = false;
    bool CaptionFits = true;
};
