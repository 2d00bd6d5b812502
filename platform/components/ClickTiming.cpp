#include "ClickTiming.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace {

// The button the left mouse button holds down, and the last of its mouse events the toolkit
// delivered: the press, or a motion after it. One pointer, so one such button at a time.
struct TPressedButton {
    QPointer<TClickTiming> Timing;
    unsigned long PressTime = 0;
    unsigned long SeenTime = 0;
    bool SeenMotion = false;
};
TPressedButton Pressed;

// Whether server time Later is after Earlier; the times wrap around after 49 days.
bool IsAfter(unsigned long Later, unsigned long Earlier)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Later) - static_cast<std::uint32_t>(Earlier)) > 0;
}

// Whether the pointer at Pointer (the screen's pixels) is on Button.
bool Contains(const QAbstractButton& Button, QPoint Pointer)
{
    const QPointF Logical = QPointF(Pointer) / Button.devicePixelRatioF();
    return Button.rect().contains(Button.mapFromGlobal(Logical).toPoint());
}

} // namespace

TClickTiming::TClickTiming(QAbstractButton& Button, std::function<void()> Click)
    : QObject(&Button)
    , Button(Button)
    , Click(std::move(Click))
{
}

bool TClickTiming::ClickAtEarlyRelease(unsigned long PressTime, unsigned long LastMotionTime, int MotionCount, QPoint Pointer)
{
    TClickTiming* Timing = Pressed.Timing;
    // isDown: the toolkit saw the pointer on the button at its last motion. A button that
    // repeats while held clicks at its own pace, not at the release.
    if (!Timing || !Timing->Button.isDown() || Timing->RepeatsDone > 0 || PressTime != Pressed.PressTime)
        return false;
    // A motion the toolkit has not delivered yet may have left the button. Motions in the
    // millisecond it saw last are told apart by their number: one, if what it saw was a motion.
    if (MotionCount > 0) {
        if (IsAfter(LastMotionTime, Pressed.SeenTime))
            return false;
        if (LastMotionTime == Pressed.SeenTime && MotionCount > (Pressed.SeenMotion ? 1 : 0))
            return false;
    }
    if (!Contains(Timing->Button, Pointer))
        return false;
    Pressed.Timing = nullptr;
    // Released before its repeat delay: one click, and no repeat after it.
    Timing->StopRepeating();
    Timing->ClickedEarly = true;
    Timing->Click();
    return true;
}

void TClickTiming::Press(const QMouseEvent& Event)
{
    if (Event.button() != Qt::LeftButton)
        return;
    Pressed = { this, Event.timestamp(), Event.timestamp(), false };
    RepeatsDone = 0;
    PressTime = Event.timestamp();
    PressedOnButton = Button.rect().contains(Event.position().toPoint());
    const std::optional<TRepeatTiming> Timing = RepeatTiming ? RepeatTiming() : std::nullopt;
    if (!Timing || !Button.rect().contains(Event.position().toPoint()))
        return;
    HeldToRepeat = true;
    SincePress.start();
    RepeatInterval = std::max(1, Timing->IntervalMilliseconds);
    RepeatDelay = std::max(0, Timing->DelayMilliseconds);
    if (!RepeatTimer) {
        RepeatTimer = new QTimer(this);
        RepeatTimer->setTimerType(Qt::PreciseTimer);
        connect(RepeatTimer, &QTimer::timeout, this, &TClickTiming::Repeat);
    }
    RepeatTimer->start(RepeatDelay);
}

void TClickTiming::Motion(const QMouseEvent& Event)
{
    if (Pressed.Timing == this) {
        Pressed.SeenTime = Event.timestamp();
        Pressed.SeenMotion = true;
    }
}

bool TClickTiming::Release()
{
    if (Pressed.Timing == this)
        Pressed.Timing = nullptr;
    StopRepeating();
    const bool Clicked = ClickedEarly || RepeatsDone > 0;
    ClickedEarly = false;
    RepeatsDone = 0;
    return Clicked;
}

std::optional<TClickTiming::TWitness> TClickTiming::OwnRelease(const std::vector<TWitness>& Releases) const
{
    const auto Found = std::find_if(Releases.begin(), Releases.end(), [this](const TWitness& Each) { return Each.PressTime == PressTime; });
    return Found == Releases.end() ? std::nullopt : std::optional<TWitness>(*Found);
}

bool TClickTiming::ReleasedOnButton(const TWitness& Release) const
{
    // Where the pointer was is the answer; where that is not known, the pointer cannot have
    // left the button unless something moved it between the press and the release.
    return PressedOnButton && (Release.PointerAtRelease ? Contains(Button, *Release.PointerAtRelease) : !Release.MovedWhileHeld);
}

bool TClickTiming::ClicksAtRelease(const QMouseEvent& Event, bool Toolkit) const
{
    const std::optional<TWitness> Own = RecentReleases ? OwnRelease(RecentReleases()) : std::nullopt;
    if (!Own)
        return Toolkit;
    // The toolkit lost this press's release: what it says is about a later one.
    if (Own->ReleaseTime != Event.timestamp())
        return ReleasedOnButton(*Own);
    return Toolkit || ReleasedOnButton(*Own);
}

std::vector<QPoint> TClickTiming::LostClicks(const QMouseEvent& Event) const
{
    std::vector<QPoint> Places;
    if (!RecentReleases)
        return Places;
    const std::vector<TWitness> Releases = RecentReleases();
    const std::optional<TWitness> Own = OwnRelease(Releases);
    if (!Own || Own->ReleaseTime == Event.timestamp())
        return Places;
    for (const TWitness& Each : Releases)
        if (IsAfter(Each.PressTime, Own->ReleaseTime) && !IsAfter(Each.ReleaseTime, Event.timestamp()) && !Each.MovedWhileHeld
            && Each.PointerAtRelease)
            Places.push_back(*Each.PointerAtRelease);
    return Places;
}

void TClickTiming::ClickLostClicks(const std::vector<QPoint>& Places)
{
    for (const QPoint Place : Places) {
        // Looked up afresh each time: a click may change the keypad under the next one.
        const QPointF Logical = QPointF(Place) / qApp->devicePixelRatio();
        for (QWidget* Widget = QApplication::widgetAt(Logical.toPoint()); Widget; Widget = Widget->parentWidget()) {
            auto* Button = qobject_cast<QAbstractButton*>(Widget);
            if (!Button)
                continue;
            for (QObject* Child : Button->children())
                if (auto* Timing = dynamic_cast<TClickTiming*>(Child); Timing && Button->isEnabled() && Contains(*Button, Place))
                    Timing->Click();
            break;
        }
    }
}

void TClickTiming::StopRepeating()
{
    HeldToRepeat = false;
    if (RepeatTimer)
        RepeatTimer->stop();
}

void TClickTiming::Repeat()
{
    // Also ends when the release went elsewhere (a grab taken away, the window hidden): a
    // key that kept repeating on its own would be stuck.
    if (!HeldToRepeat || !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton)) {
        StopRepeating();
        return;
    }
    // The n-th repeat is due at delay + n intervals from the press, however late the one before
    // it ran: the timing does not drift with the time the clicks take.
    const qint64 NextDue = RepeatDelay + qint64(++RepeatsDone) * RepeatInterval;
    RepeatTimer->start(static_cast<int>(std::max<qint64>(0, NextDue - SincePress.elapsed())));
    // A pointer dragged off the button pauses the repeat, as Qt shows the button up then.
    if (Button.isDown())
        Click();
}
