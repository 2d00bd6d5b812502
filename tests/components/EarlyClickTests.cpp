// Clicks at the window system's early word of a release: a key is clicked then only where the
// toolkit's own release would click it, and the toolkit's release never clicks it a second time.
#include "TPanel.h"
#include "TSpeedButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr unsigned long PressTime = 5000;

class EarlyClickTest : public testing::Test {
protected:
    void SetUp() override
    {
        Panel = std::make_unique<TPanel>();
        Panel->SetBounds(0, 0, 200, 100);
        Button = new TSpeedButton(Panel.get());
        Button->SetBounds(10, 10, 60, 30);
        Button->OnClick = [this](TObject*) { ++Clicks; };
        Panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Panel.get()));
    }

    // A mouse event as the toolkit delivers it, at a point of the button, with the server's time.
    void Send(QEvent::Type Type, QPoint At, unsigned long Time)
    {
        const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton Changed = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent Event(Type, QPointF(At), QPointF(Button->mapToGlobal(At)), Changed, Held, Qt::NoModifier);
        Event.setTimestamp(Time);
        QApplication::sendEvent(Button, &Event);
    }

    QPoint Global(QPoint At) const { return Button->mapToGlobal(At); }

    const QPoint On { 30, 15 };
    const QPoint Off { 150, 80 };
    std::unique_ptr<TPanel> Panel;
    TSpeedButton* Button = nullptr;
    int Clicks = 0;
};

TEST_F(EarlyClickTest, ClicksOnlyWhereTheToolkitWouldAndNeverTwice)
{
    const struct {
        const char* Case;
        std::optional<QPoint> Delivered; // where a motion the toolkit delivered at the last motion's time went
        unsigned long ReleasedPress;
        unsigned long LastMotionTime;
        int MotionCount;
        QPoint PointerAtRelease;
        bool ClicksEarly;
        int ClicksInAll;
        bool Repeats = false;
    } Cases[] = {
        { "still, on the key", {}, PressTime, 0, 0, On, true, 1 },
        { "moved before the press", {}, PressTime, PressTime - 3, 1, On, true, 1 },
        { "a motion the toolkit has not delivered", {}, PressTime, PressTime + 4, 1, On, false, 1 },
        { "a motion in the press's millisecond", {}, PressTime, PressTime, 1, On, false, 1 },
        { "pointer moved off without a motion event", {}, PressTime, 0, 0, Off, false, 0 },
        { "release of an earlier press", {}, PressTime - 200, 0, 0, On, false, 1 },
        { "dragged off the key", Off, PressTime, PressTime + 2, 1, Off, false, 0 },
        { "dragged off, warped back on unseen", Off, PressTime, PressTime + 2, 1, On, false, 0 },
        // One raw motion in the millisecond of the last one the toolkit delivered is that one;
        // two mean one it has not delivered.
        { "moved on the key, that motion seen", On + QPoint(1, 0), PressTime, PressTime + 3, 1, On, true, 1 },
        { "moved on the key, one more unseen", On + QPoint(1, 0), PressTime, PressTime + 3, 2, On, false, 1 },
        { "a key that repeats, released before its repeat", {}, PressTime, 0, 0, On, true, 1, true },
    };
    EXPECT_FALSE(TCaptionButton::ClickAtEarlyRelease(PressTime, 0, 0, Global(On))) << "no key held";
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        Clicks = 0;
        Button->Timing().RepeatTiming = nullptr;
        if (Case.Repeats)
            Button->Timing().RepeatTiming = [] { return std::optional<TRepeatTiming>(TRepeatTiming { 500, 30 }); };
        Send(QEvent::MouseButtonPress, On, PressTime);
        if (Case.Delivered)
            Send(QEvent::MouseMove, *Case.Delivered, Case.LastMotionTime);
        const bool Early = TCaptionButton::ClickAtEarlyRelease(Case.ReleasedPress, Case.LastMotionTime, Case.MotionCount,
            Global(Case.PointerAtRelease));
        EXPECT_EQ(Early, Case.ClicksEarly);
        EXPECT_EQ(Clicks, Case.ClicksEarly ? 1 : 0);
        Send(QEvent::MouseButtonRelease, Case.PointerAtRelease, PressTime + 5);
        EXPECT_EQ(Clicks, Case.ClicksInAll);
        EXPECT_FALSE(Button->isDown());
        // Nothing is left to click at a second word of the same release.
        EXPECT_FALSE(TCaptionButton::ClickAtEarlyRelease(Case.ReleasedPress, 0, 0, Global(On)));
    }
}

TEST_F(EarlyClickTest, AKeyRemovedByItsOwnEarlyClickIsNotTouchedAgain)
{
    // As the keypad does when a click changes its mode: the key is deleted once the click is over.
    Button->OnClick = [this](TObject*) {
        ++Clicks;
        Button->deleteLater();
    };
    Send(QEvent::MouseButtonPress, On, PressTime);
    const QPoint At = Global(On);
    EXPECT_TRUE(TCaptionButton::ClickAtEarlyRelease(PressTime, 0, 0, At));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(TCaptionButton::ClickAtEarlyRelease(PressTime, 0, 0, At));
    EXPECT_EQ(Clicks, 1);
}

// A release the toolkit reports off the key (a window manager's grab held the events back): the
// desktop's account of where the pointer was decides, and a warp off the key makes no motion.
TEST_F(EarlyClickTest, AReleaseReportedOffTheKeyClicksWhereThePointerReallyWas)
{
    const struct { bool MovedWhileHeld; std::optional<QPoint> At; int Clicks; } Cases[] = {
        {false, On, 1}, {false, std::nullopt, 1}, {false, Off, 0}, {true, std::nullopt, 0}, {true, Off, 0}};
    for (const auto& Case : Cases) {
        Clicks = 0;
        TClickTiming::RecentReleases = [&] {
            const auto At = Case.At ? std::optional(Global(*Case.At)) : std::nullopt;
            return std::vector<TClickTiming::TWitness> {{PressTime, PressTime + 5, Case.MovedWhileHeld, At}};
        };
        Send(QEvent::MouseButtonPress, On, PressTime);
        Send(QEvent::MouseMove, Off, PressTime + 5);
        Send(QEvent::MouseButtonRelease, Off, PressTime + 5);
        EXPECT_EQ(Clicks, Case.Clicks) << Case.MovedWhileHeld << " " << Case.At.has_value();
    }
    TClickTiming::RecentReleases = nullptr;
}

} // namespace
