// A release that the toolkit reports off the pressed key, or for a later press, where the window
// system's own account of the input says where the pointer really was: a quick click reported
// late types once, a key dragged off (by a real motion or a warp) types nothing, and a click the
// toolkit lost altogether types once.
#include "TPanel.h"
#include "TSpeedButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr unsigned long PressTime = 7000;
constexpr unsigned long ReleaseTime = 7040;

class LateReleaseTest : public testing::Test {
protected:
    void SetUp() override
    {
        Panel = std::make_unique<TPanel>();
        Panel->SetBounds(0, 0, 200, 100);
        Button = new TSpeedButton(Panel.get());
        Button->SetBounds(10, 10, 60, 30);
        Button->OnClick = [this](TObject*) { ++Clicks; };
        Other = new TSpeedButton(Panel.get());
        Other->SetBounds(100, 10, 60, 30);
        Other->OnClick = [this](TObject*) { ++OtherClicks; };
        Panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Panel.get()));
    }
    void TearDown() override { TClickTiming::RecentReleases = nullptr; }

    void Send(QEvent::Type Type, QPoint At, unsigned long Time)
    {
        const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButton Changed = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent Event(Type, QPointF(At), QPointF(Button->mapToGlobal(At)), Changed, Held, Qt::NoModifier);
        Event.setTimestamp(Time);
        QApplication::sendEvent(Button, &Event);
    }

    const QPoint On {30, 15};
    const QPoint Off {150, 80};
    std::unique_ptr<TPanel> Panel;
    TSpeedButton* Button = nullptr;
    TSpeedButton* Other = nullptr;
    int Clicks = 0;
    int OtherClicks = 0;
};

TEST_F(LateReleaseTest, TheDesktopsAccountOfTheReleaseDecides)
{
    enum TAt { atUnknown, atOn, atOff };
    const struct {
        const char* Case;
        bool Witnessed; // the desktop saw this press and release
        bool MovedWhileHeld;
        TAt PointerAtRelease;
        int Clicks;
    } Cases[] = {
        {"reported late, pointer still on the key", true, false, atOn, 1},
        {"reported late, read after the pointer moved on", true, false, atUnknown, 1},
        {"warped off the key", true, false, atOff, 0},
        {"dragged off the key", true, true, atOff, 0},
        {"dragged off, read after the pointer moved on", true, true, atUnknown, 0},
        {"a release the desktop did not see", false, false, atOn, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        Clicks = 0;
        TClickTiming::RecentReleases = [&] {
            std::vector<TClickTiming::TWitness> Releases;
            if (!Case.Witnessed)
                return Releases;
            Releases.push_back({PressTime, ReleaseTime, Case.MovedWhileHeld, std::nullopt});
            if (Case.PointerAtRelease != atUnknown)
                Releases.back().PointerAtRelease = Button->mapToGlobal(Case.PointerAtRelease == atOn ? On : Off);
            return Releases;
        };
        Send(QEvent::MouseButtonPress, On, PressTime);
        // The toolkit sees the release where the pointer went next, and a motion there first.
        Send(QEvent::MouseMove, Off, ReleaseTime);
        Send(QEvent::MouseButtonRelease, Off, ReleaseTime);
        EXPECT_EQ(Clicks, Case.Clicks);
        EXPECT_FALSE(Button->isDown());
    }
}

TEST_F(LateReleaseTest, APressOffTheKeyNeverClicksIt)
{
    TClickTiming::RecentReleases = [] { return std::vector<TClickTiming::TWitness> {{PressTime, ReleaseTime, false, std::nullopt}}; };
    // Pressed beside the key (its release reaching it through the toolkit's grab all the same).
    Send(QEvent::MouseButtonPress, Off, PressTime);
    Send(QEvent::MouseButtonRelease, Off, ReleaseTime);
    EXPECT_EQ(Clicks, 0);
}

// The toolkit delivers a press, then the release of a later press on another key: the release
// between and that press went astray.
TEST_F(LateReleaseTest, ClicksTheToolkitLostAreMadeOnceInOrder)
{
    constexpr unsigned long LostPress = ReleaseTime + 30, LastRelease = LostPress + 40;
    const QPoint OnOther = Other->mapToGlobal(QPoint(30, 15));
    const struct {
        const char* Case;
        bool LostPressMoved;
        bool LostReleaseKnown;
        int Clicks;
        int OtherClicks;
    } Cases[] = {
        {"both clicks stayed still", false, true, 1, 1},
        {"the lost press was dragged", true, true, 1, 0},
        {"where the lost press ended is not known", false, false, 1, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Case);
        Clicks = OtherClicks = 0;
        std::vector<int> Order;
        Button->OnClick = [&](TObject*) { ++Clicks; Order.push_back(1); };
        Other->OnClick = [&](TObject*) { ++OtherClicks; Order.push_back(2); };
        TClickTiming::RecentReleases = [&] {
            std::vector<TClickTiming::TWitness> Releases {{PressTime, ReleaseTime, false, Button->mapToGlobal(On)},
                {LostPress, LastRelease, Case.LostPressMoved, std::nullopt}};
            if (Case.LostReleaseKnown)
                Releases.back().PointerAtRelease = OnOther;
            return Releases;
        };
        Send(QEvent::MouseButtonPress, On, PressTime);
        // Over the other key, in the pressed one's terms.
        const QPoint OverOther = Button->mapFromGlobal(OnOther);
        Send(QEvent::MouseMove, OverOther, LostPress);
        Send(QEvent::MouseButtonRelease, OverOther, LastRelease);
        EXPECT_EQ(Clicks, Case.Clicks);
        EXPECT_EQ(OtherClicks, Case.OtherClicks);
        if (Case.OtherClicks) {
            EXPECT_EQ(Order, (std::vector<int> {1, 2}));
        }
    }
}

} // namespace
