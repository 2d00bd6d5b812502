// Finding, restoring and activating real top-level windows, under a window manager.
#include "InputX11TestSupport.h"

#include "InputBackend.h"
#include "Sendkeys.h"

namespace {

TEST_F(TInputX11Test, SendKeysToTypesIntoTheWindowWithThatTitle)
{
    ASSERT_TRUE(SetLayout("us"));
    TXtermTarget First("kivo-first"), Second("kivo-second");
    ASSERT_TRUE(First.Ready() && Second.Ready());
    ASSERT_TRUE(Second.Focus());

    Sender.SendKeysTo("kivo-first", "to first");
    EXPECT_EQ(First.WaitForText(8), "to first");
    Sender.SendKeysTo("kivo-second", "to second");
    EXPECT_EQ(Second.WaitForText(9), "to second");
    EXPECT_EQ(First.Received(), "to first");
}

TEST_F(TInputX11Test, AMinimizedWindowIsRestoredBeforeTheKeys)
{
    ASSERT_TRUE(SetLayout("us"));
    TXtermTarget Target("kivo-iconic"), Other("kivo-other");
    ASSERT_TRUE(Target.Ready() && Other.Ready());
    ASSERT_TRUE(Other.Focus());
    ASSERT_EQ(QProcess::execute("xdotool", {"windowminimize", "--sync", QString::number(Target.Window())}), 0);
    ASSERT_TRUE(WaitFor([&] { return CurrentInputBackend()->IsMinimized(Target.Window()); }));

    Sender.SendKeysTo("kivo-iconic", "back");

    EXPECT_FALSE(CurrentInputBackend()->IsMinimized(Target.Window()));
    EXPECT_TRUE(Server.FocusIsIn(Target.Window()));
    EXPECT_EQ(Target.WaitForText(4), "back");
    EXPECT_EQ(Other.Received(), "");
}

TEST_F(TInputX11Test, FindWindowMatchesWholeTitlesOnly)
{
    TXtermTarget Target("kivo-title-\xE9xact"); // shown in UTF-8 by the terminal
    ASSERT_TRUE(Target.Ready());
    const TWindowId Expected = Target.Window();
    EXPECT_EQ(GetHandleFromWindowTitle("kivo-title-\xE9xact"), Expected); // the same title in code page 1252
    EXPECT_EQ(GetHandleFromWindowTitle("kivo-title-"), 0u);
    EXPECT_EQ(GetHandleFromWindowTitle("kivo-title-\xE9xact and more"), 0u);
    EXPECT_EQ(GetHandleFromWindowTitle(""), 0u);
    EXPECT_EQ(CurrentInputBackend()->FindWindow("kivo-title-\xC3\xA9xact", "XTerm"), Expected);
    EXPECT_EQ(CurrentInputBackend()->FindWindow("kivo-title-\xC3\xA9xact", "NoSuchClass"), 0u);
}

TEST_F(TInputX11Test, WindowCallsOnAWindowThatDoesNotExistDoNothing)
{
    const TWindowId Gone = 0x7ffffff0;
    EXPECT_FALSE(CurrentInputBackend()->IsMinimized(Gone));
    EXPECT_FALSE(CurrentInputBackend()->RestoreWindow(Gone));
    EXPECT_FALSE(CurrentInputBackend()->RaiseWindow(Gone));
    EXPECT_FALSE(CurrentInputBackend()->RaiseWindow(0));
}

} // namespace
