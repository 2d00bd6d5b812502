#pragma once
// What the speed button and the tool button share: a QToolButton that never takes the keyboard
// focus, shows an 8-bit caption literally (an ampersand is drawn, not read as a mnemonic) in its
// font, through any display substitute of that face, and reports each click to Clicked. A
// caption too big for the button is drawn smaller (see FitText.h).
#include "Classes.h"
#include "TFont.h"

#include <QElapsedTimer>
#include <QFont>
#include <QToolButton>

#include <functional>
#include <optional>
#include <string>

class QTimer;

// How a held button repeats: the wait before the first repeat, and the time between repeats.
struct TRepeatTiming {
    int DelayMilliseconds = 0;
    int IntervalMilliseconds = 0;
};

class TCaptionButton : public QToolButton, public TFontHolder {
    Q_OBJECT

public:
    explicit TCaptionButton(QWidget* Parent);

    const std::string& Caption() const { return CaptionValue; }
    void SetCaption(const std::string& Caption);

    // Asked at every press of the left mouse button. While it answers, a button held past the
    // delay clicks then and at every interval after it (while the pointer is on it), and not
    // again at the release; released before the delay, it clicks once at the release as any
    // button does, so a press dragged off it still types nothing. Unset or answering nothing:
    // one click at the release, as always.
    std::function<std::optional<TRepeatTiming>()> RepeatTiming;

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
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void ReportClick();
    void ShowCaption();
    void Repeat();

    static constexpr int RepaintDelayMilliseconds = 2;

    std::string CaptionValue;
    // Set while a mouse release has already reported the click that Qt announces after it.
    bool ClickReported = false;
    // Set from a press that repeats until its release; the timer exists only while needed.
    bool HeldToRepeat = false;
    int RepeatDelay = 0;
    int RepeatInterval = 0;
    int RepeatsDone = 0;
    QElapsedTimer SincePress;
    QTimer* RepeatTimer = nullptr;
    // The font the caption is drawn in at the present size; empty until the next paint.
    std::optional<QFont> DrawnFont;
    // Set from an early click until the toolkit's own release of the button.
    bool ClickedEarly = false;
};
