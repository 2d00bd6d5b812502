// A release that the toolkit reports off the pressed key, where the window system's own account
// of the input says where the pointer really was: a quick click reported late types once, a key
// dragged off (by a real motion or a warp) types nothing.
#include "TPanel.h"
#include "TSpeedButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

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
        Panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Panel.get()));
    }
    void TearDown() override { TClickTiming::WitnessRelease = nullptr; }

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
    int Clicks = 0;
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
        TClickTiming::WitnessRelease = [&](unsigned long Press, unsigned long Release) -> std::optional<TClickTiming::TWitness> {
            if (!Case.Witnessed || Press != PressTime || Release != ReleaseTime)
                return std::nullopt;
            TClickTiming::TWitness Witness {Case.MovedWhileHeld, std::nullopt};
            if (Case.PointerAtRelease != atUnknown)
                Witness.PointerAtRelease = Button->mapToGlobal(Case.PointerAtRelease == atOn ? On : Off);
            return Witness;
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
    TClickTiming::WitnessRelease = [](unsigned long, unsigned long) -> std::optional<TClickTiming::TWitness> {
        return TClickTiming::TWitness {false, std::nullopt};
    };
    // Pressed beside the key (its release reaching it through the toolkit's grab all the same).
    Send(QEvent::MouseButtonPress, Off, PressTime);
    Send(QEvent::MouseButtonRelease, Off, ReleaseTime);
    EXPECT_EQ(Clicks, 0);
}

} // namespace
