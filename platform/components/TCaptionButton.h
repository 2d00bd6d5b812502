#pragma once
// What the speed button and the tool button share: a QToolButton that never takes the keyboard
// focus, shows an 8-bit caption literally (an ampersand is drawn, not read as a mnemonic) in its
// font, through any display substitute of that face, and reports each click to Clicked.
#include "Classes.h"
#include "TFont.h"

#include <QToolButton>

#include <string>

class TCaptionButton : public QToolButton, public TFontHolder {
    Q_OBJECT

public:
    explicit TCaptionButton(QWidget* Parent);

    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(const std::string& Caption);

    // Clicks the button that the left mouse button holds down, at once, on word from outside
    // the toolkit that the button was released (times in the window system's milliseconds, the
    // pointer's position in the screen's pixels): if the toolkit has seen the press that release
    // ends and every pointer motion before it, and the pointer is on the button by its account
    // and by the position given. Whether it clicked; when it did, the toolkit's own release of
    // the button later reports nothing again.
    static bool ClickAtEarlyRelease(unsigned long PressTime, unsigned long LastMotionTime, int MotionCount, QPoint Pointer);

protected:
    // The click itself. An exception from it ends here, reported through HandleException:
    // Qt's event dispatch cannot unwind one.
    virtual void Clicked() = 0;

    void FontChanged() override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    void ReportClick();
    void ShowCaption();

    static constexpr int RepaintDelayMilliseconds = 2;

    std::string CaptionValue;
    // Set while a mouse release has already reported the click that Qt announces after it.
    bool ClickReported = false;
    // Set from an early click until the toolkit's own release of the button.
    bool ClickedEarly = false;
};
