// A program on the backend, ended in the ways programs end, leaves nothing held down and no
// keycode remapped; without a display or without XTest it says so in one line and fails.
#include "ChildProcess.h"
#include "XServerProbe.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>

namespace {

class TProbeOutput {
public:
    TProbeOutput()
    {
        char Template[] = "/tmp/kivo-probe.XXXXXX";
        Directory = mkdtemp(Template);
    }
    ~TProbeOutput() { std::filesystem::remove_all(Directory); }
    std::string Path() const { return Directory + "/output"; }
    std::string Text() const { return ReadWholeFile(Path()); }

private:
    std::string Directory;
};

struct TEnding {
    const char* Name;
    const char* Command;
    int Signal; // 0: the program returns from main
};

class TShutdownTest : public testing::TestWithParam<TEnding> {};

TEST_P(TShutdownTest, AModifierHeldByAKeyStringIsReleased)
{
    TXServerProbe Server;
    TProbeOutput Output;
    TChildProcess Probe({INPUT_X11_PROBE, GetParam().Command}, {}, Output.Path());
    ASSERT_TRUE(WaitFor([&] { return Output.Text().find("held") != std::string::npos; })) << Output.Text();
    if (GetParam().Signal) {
        EXPECT_EQ(Server.ModifiersHeld(), "Shift") << "the probe should hold Shift until it is ended";
        Probe.Signal(GetParam().Signal);
    }
    const int Status = Probe.Wait();
    if (GetParam().Signal) {
        ASSERT_TRUE(WIFSIGNALED(Status)) << "the program should still die of the signal";
        EXPECT_EQ(WTERMSIG(Status), GetParam().Signal);
    } else {
        ASSERT_TRUE(WIFEXITED(Status));
        EXPECT_EQ(WEXITSTATUS(Status), 0);
    }
    EXPECT_EQ(Server.ModifiersHeld(), "");
    EXPECT_TRUE(Server.KeysDown().empty());
}

INSTANTIATE_TEST_SUITE_P(Endings, TShutdownTest,
    testing::Values(TEnding {"Terminated", "hold", SIGTERM}, TEnding {"Interrupted", "hold", SIGINT},
        TEnding {"HungUp", "hold", SIGHUP}, TEnding {"NormalExit", "hold-exit", 0}),
    [](const testing::TestParamInfo<TEnding>& Info) { return std::string(Info.param.Name); });

TEST(TShutdown, SpareKeycodesAreClearedWhenTheProgramEnds)
{
    ASSERT_TRUE(SetLayout("us"));
    TXServerProbe Server;
    ASSERT_EQ(Server.KeysTyping(U'\u00E6'), 0);
    TProbeOutput Output;
    TChildProcess Probe({INPUT_X11_PROBE, "type", "\xE6\xE6\xF0"}, {}, Output.Path());
    const int Status = Probe.Wait();
    ASSERT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Output.Text();
    EXPECT_EQ(Server.KeysTyping(U'\u00E6'), 0);
    EXPECT_EQ(Server.KeysTyping(U'\u00F0'), 0);
}

// The program's own error path: exit status 1 and one line on stderr that names the problem.
void ExpectOneLineFailure(const std::vector<std::string>& Environment, const std::string& Reason)
{
    TProbeOutput Output;
    TChildProcess Probe({INPUT_X11_PROBE, "open"}, Environment, Output.Path());
    const int Status = Probe.Wait();
    ASSERT_TRUE(WIFEXITED(Status)) << "the program crashed";
    EXPECT_EQ(WEXITSTATUS(Status), 1);
    const std::string Text = Output.Text();
    EXPECT_NE(Text.find(Reason), std::string::npos) << Text;
    EXPECT_EQ(std::count(Text.begin(), Text.end(), '\n'), 1) << Text;
}

TEST(TStartup, WithoutADisplayTheProgramSaysSoAndFails)
{
    ExpectOneLineFailure({"DISPLAY=:4093"}, "cannot open display :4093");
    ExpectOneLineFailure({"DISPLAY="}, "cannot open display");
}

TEST(TStartup, WithoutXTestTheProgramSaysSoAndFails)
{
    TProbeOutput Server;
    const std::string DisplayFile = Server.Path() + ".display";
    TChildProcess Xvfb({"sh", "-c",
        "exec Xvfb -displayfd 3 -nolisten tcp -extension XTEST 3>" + DisplayFile + " 2>/dev/null"});
    ASSERT_TRUE(WaitFor([&] { return ReadWholeFile(DisplayFile).find('\n') != std::string::npos; }));
    std::string Number = ReadWholeFile(DisplayFile);
    Number.erase(Number.find('\n'));
    ExpectOneLineFailure({"DISPLAY=:" + Number}, "has no XTest extension");
}

} // namespace
