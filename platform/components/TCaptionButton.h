#pragma once
// What the speed button and the tool button share: a QToolButton that never takes the keyboard
// focus, shows an 8-bit caption literally (an ampersand is drawn, not read as a mnemonic) in its
// font, through any display substitute of that face, and reports each click to Clicked. A
// caption too big for the button is drawn smaller (see FitText.h). When it clicks beyond Qt's
// click at the release is the business of its TClickTiming.
#include "ClickTiming.h"
#include "Classes.h"

#include <QFont>
#include <QPalette>
#include <QToolButton>

#include <optional>
#include <string>

class TCaptionButton : public QToolButton {
    Q_OBJECT
    Q_PROPERTY(QByteArray Caption READ CaptionBytes WRITE SetCaptionBytes)

public:
    explicit TCaptionButton(QWidget* Parent);

    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(const std::string& Caption);

    TClickTiming& Timing() { return *TimingValue; }

    // The caption drawn in Colour rather than the palette's button text; none: the palette's.
    void SetCaptionColor(const std::optional<QColor>& Colour);
    QColor CaptionColor() const;

    static bool ClickAtEarlyRelease(unsigned long PressTime, unsigned long LastMotionTime, int MotionCount, QPoint Pointer)
    {
        return TClickTiming::ClickAtEarlyRelease(PressTime, LastMotionTime, MotionCount, Pointer);
    }

protected:
    // The click itself. An exception from it ends here, reported through HandleException:
    // Qt's event dispatch cannot unwind one.
    virtual void Clicked() = 0;

    void changeEvent(QEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    QByteArray CaptionBytes() const { return QByteArray::fromStdString(CaptionValue); }
    void SetCaptionBytes(const QByteArray& Caption) { SetCaption(Caption.toStdString()); }
    void ReportClick();
    void ShowCaption();

    static constexpr int RepaintDelayMilliseconds = 2;

    std::string CaptionValue;
    TClickTiming* TimingValue = nullptr;
    // Set while a mouse release has already reported the click that Qt announces after it.
    bool ClickReported = false;
    // The font the caption is drawn in at the present size; empty until the next paint.
    std::optional<QFont> DrawnFont;
    std::optional<QColor> CaptionColorValue;
    // The palette a coloured caption is drawn with, kept while colour and widget palette stay:
    // the style caches the button's face under the palette's identity, so a palette made anew at
    // each toggle (as setPalette makes one) would add faces to that cache until it is full.
    std::optional<QPalette> CaptionPalette;
};
