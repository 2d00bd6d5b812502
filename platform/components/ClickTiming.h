#pragma once
// When a caption button clicks, beyond Qt's one click at the release: a held button that
// repeats (Backspace, at the desktop's key-repeat rate), and a click made at once on word from
// outside the toolkit that the pointer was released, before the toolkit itself has seen the
// release (see ClickAtEarlyRelease); and, where the toolkit's own account of a release is wrong
// or lost, the click that really happened (see ClicksAtRelease, LostClicks).
#include <QElapsedTimer>
#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QMouseEvent;
class QTimer;

// How a held button repeats: the wait before the first repeat, and the time between repeats.
struct TRepeatTiming {
    int DelayMilliseconds = 0;
    int IntervalMilliseconds = 0;
};

class TClickTiming : public QObject {
public:
    // Click is what a click does; it is called for early clicks and repeats only.
    TClickTiming(QAbstractButton& Button, std::function<void()> Click);

    // Asked at every press of the left mouse button. While it answers, a button held past the
    // delay clicks then and at every interval after it (while the pointer is on it), and not
    // again at the release; released before the delay, it clicks once at the release as any
    // button does, so a press dragged off it still types nothing. Unset or answering nothing:
    // one click at the release.
    std::function<std::optional<TRepeatTiming>()> RepeatTiming;

    // The button's mouse events, passed on before (press) or after (motion) Qt's handling.
    void Press(const QMouseEvent& Event);
    void Motion(const QMouseEvent& Event);
    // At the left button's release: true when this press has made its click already (early or
    // by repeating), so that the release makes none.
    bool Release();
    // Whether this press clicks at the left button's release as the toolkit reports it (Event),
    // Toolkit being whether the toolkit's own account says so. The desktop's account of the
    // input, in the order it happened (RecentReleases), decides where the toolkit's is wrong:
    // a server that held the pointer's events back (a window manager's grab on the press)
    // reports the release where the pointer went only after it, or loses the release and the
    // press after it, so that the toolkit's release is that of a later press.
    bool ClicksAtRelease(const QMouseEvent& Event, bool Toolkit) const;
    // The presses and releases of the left button, by the desktop's account, that the toolkit
    // lost between this press's release and Event's: where their releases were (the screen's
    // pixels), each on the spot of its press.
    std::vector<QPoint> LostClicks(const QMouseEvent& Event) const;
    // Clicks the caption buttons at those places, in order.
    static void ClickLostClicks(const std::vector<QPoint>& Places);

    // What the desktop saw of one press and release of the left button (the window system's
    // milliseconds).
    struct TWitness {
        unsigned long PressTime = 0;
        unsigned long ReleaseTime = 0;
        // A motion event came between the two (a program warping the pointer makes none).
        bool MovedWhileHeld = true;
        // Where the pointer was at the release, in the screen's pixels, when that is known.
        std::optional<QPoint> PointerAtRelease;
    };
    // The latest ones, oldest first.
    static inline std::function<std::vector<TWitness>()> RecentReleases;

    // Clicks the button that the left mouse button holds down, at once, on word from outside
    // the toolkit that the button was released (times in the window system's milliseconds, the
    // pointer's position in the screen's pixels): if the toolkit has seen the press that release
    // ends and every pointer motion before it, and the pointer is on the button by its account
    // and by the position given. Whether it clicked.
    static bool ClickAtEarlyRelease(unsigned long PressTime, unsigned long LastMotionTime, int MotionCount, QPoint Pointer);

private:
    void Repeat();
    void StopRepeating();
    // The desktop's account of the release that ended this press, if it has one.
    std::optional<TWitness> OwnRelease(const std::vector<TWitness>& Releases) const;
    bool ReleasedOnButton(const TWitness& Release) const;

    QAbstractButton& Button;
    std::function<void()> Click;
    bool HeldToRepeat = false;
    int RepeatDelay = 0;
    int RepeatInterval = 0;
    int RepeatsDone = 0;
    QElapsedTimer SincePress;
    QTimer* RepeatTimer = nullptr;
    unsigned long PressTime = 0;
    bool PressedOnButton = false;
    // Set from an early click until the toolkit's own release of the button.
    bool ClickedEarly = false;
};
