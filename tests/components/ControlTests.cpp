// The panel and the speed button: resize notification, child placement under borders and bevels,
// clicks through Qt's mouse dispatch, captions shown literally.
#include "SysUtils.h"
#include "TApplication.h"
#include "TPanel.h"
#include "TSpeedButton.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

class TCountingPanel : public TPanel {
public:
    using TPanel::TPanel;
    int Resizes = 0;
    QSize LastSize;

protected:
    void Resize() override
    {
        TPanel::Resize();
        ++Resizes;
        LastSize = size();
    }
};

TEST(Panel, ResizeRunsOnEverySizeChangeShownOrNot)
{
    TCountingPanel Panel;
    auto* Child = new TCountingPanel(&Panel);
    int Notified = 0;
    Panel.OnResize = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Panel);
        ++Notified;
    };
    Panel.SetBounds(0, 0, 200, 100);
    EXPECT_EQ(Panel.Resizes, 1);
    EXPECT_EQ(Panel.LastSize, QSize(200, 100));
    Panel.SetBounds(10, 10, 200, 100); // a move alone is no size change
    EXPECT_EQ(Panel.Resizes, 1);

    Panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Panel));
    const int BeforeShownResize = Panel.Resizes;
    Panel.SetBounds(10, 10, 300, 120);
    EXPECT_EQ(Panel.Resizes, BeforeShownResize + 1);
    EXPECT_EQ(Panel.LastSize, QSize(300, 120));
    EXPECT_EQ(Notified, Panel.Resizes);
    // A child inside a window on screen is told at once too.
    const int ChildBefore = Child->Resizes;
    Child->resize(50, 60);
    EXPECT_EQ(Child->Resizes, ChildBefore + 1);
}

TEST(Panel, BordersAndBevelsNeverMoveChildren)
{
    TPanel Panel;
    Panel.SetBorderWidth(3);
    Panel.SetBevelInner(TPanel::bvLowered);
    Panel.SetBevelOuter(TPanel::bvRaised);
    Panel.SetBevelWidth(2);
    Panel.SetBounds(0, 0, 100, 50);
    auto* Child = new TSpeedButton(&Panel);
    Child->SetBounds(0, 0, 10, 10);
    Panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Panel));
    EXPECT_EQ(Child->geometry(), QRect(0, 0, 10, 10));
    EXPECT_EQ(Child->mapTo(&Panel, QPoint(0, 0)), QPoint(0, 0));
}

class SpeedButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        Panel = std::make_unique<TPanel>();
        Panel->SetBounds(0, 0, 200, 100);
        Button = new TSpeedButton(Panel.get());
        Button->SetBounds(10, 10, 60, 30);
        Panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Panel.get()));
    }
    void Click() { QTest::mouseClick(Button, Qt::LeftButton, Qt::NoModifier, QPoint(30, 15)); }

    std::unique_ptr<TPanel> Panel;
    TSpeedButton* Button = nullptr;
};

// A click runs OnClick at the release, with the button as sender, before the button is redrawn
// and only once; it leaves the focus alone.
TEST_F(SpeedButtonTest, AClickRunsOnClickOnceAtTheReleaseBeforeTheRedrawAndLeavesTheFocusAlone)
{
    auto* Edit = new TSpeedButton(Panel.get());
    Edit->setFocusPolicy(Qt::StrongFocus);
    Edit->setFocus();
    std::vector<std::pair<TObject*, bool>> Clicks; // the sender, and whether the button was down
    Button->OnClick = [&](TObject* Sender) { Clicks.emplace_back(Sender, Button->isDown()); };
    Click();
    Click();
    EXPECT_FALSE(Button->isDown());
    EXPECT_FALSE(Button->hasFocus());

    // A release away from the button is no click; a click that no mouse made still is one.
    QTest::mousePress(Button, Qt::LeftButton, Qt::NoModifier, QPoint(30, 15));
    QTest::mouseRelease(Button, Qt::LeftButton, Qt::NoModifier, QPoint(150, 80));
    Button->click();
    Button->SetEnabled(false);
    Click();
    const std::vector<std::pair<TObject*, bool>> Expected { { Button, true }, { Button, true }, { Button, false } };
    EXPECT_EQ(Clicks, Expected);
}

// An exception from OnClick ends in the exception handler where one is set, else the
// application shows it.
TEST_F(SpeedButtonTest, AnExceptionFromOnClickEndsInTheHandlerOrIsShown)
{
    ASSERT_NE(Application, nullptr);
    std::string Reported;
    std::string Shown;
    Application->OnException = [&](const std::exception& Error) { Shown = Error.what(); };
    SetExceptionHandler([&](std::exception_ptr Error) {
        try {
            std::rethrow_exception(Error);
        } catch (const std::exception& Caught) {
            Reported = Caught.what();
        }
    });
    Button->OnClick = [](TObject*) { throw std::runtime_error("no target"); };
    Click();
    SetExceptionHandler({});
    Button->OnClick = [](TObject*) { throw std::runtime_error("window gone"); };
    Click();
    Application->OnException = nullptr;
    EXPECT_EQ(Reported, "no target");
    EXPECT_EQ(Shown, "window gone");
}

TEST_F(SpeedButtonTest, CaptionsShowAmpersandsLiterally)
{
    Button->SetCaption("&");
    EXPECT_EQ(Button->text(), QStringLiteral("&&"));
    Button->SetCaption("R&D");
    EXPECT_EQ(Button->text(), QStringLiteral("R&&D"));
    EXPECT_EQ(Button->Caption(), "R&D");
}

TEST_F(SpeedButtonTest, VisibleIsTheButtonsOwnStateWhileItsParentIsHidden)
{
    Panel->hide();
    EXPECT_TRUE(Button->Visible());
    Button->SetVisible(false);
    Panel->show();
    EXPECT_FALSE(Button->isVisible());
    Button->SetVisible(true);
    EXPECT_TRUE(Button->isVisible());
    // A button created inside a panel already on screen shows at once.
    auto* Late = new TSpeedButton(Panel.get());
    EXPECT_TRUE(Late->isVisible());
}

} // namespace
