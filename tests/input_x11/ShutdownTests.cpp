// A program on the backend, ended in the ways programs end, leaves nothing held down and no
// keycode remapped; without a display or without XTest it says so in one line and fails.
#include "ChildProcess.h"
#include "XServerProbe.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <filesystem>
#include <fstream>
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

// Ends Probe as Ending says; a killed probe is followed by a fresh start, which repairs at
// once: WhileFreshRuns checks the repair while that fresh one still runs.
void End(TChildProcess& Probe, int Signal, const std::function<void()>& WhileFreshRuns = {})
{
    if (Signal)
        Probe.Signal(Signal);
    const int Status = Probe.Wait();
    if (Signal) {
        ASSERT_TRUE(WIFSIGNALED(Status)) << "the program should still die of the signal";
        EXPECT_EQ(WTERMSIG(Status), Signal);
    } else {
        ASSERT_TRUE(WIFEXITED(Status));
        EXPECT_EQ(WEXITSTATUS(Status), 0);
    }
    if (Signal == SIGKILL) {
        TProbeOutput Said;
        TChildProcess Fresh({INPUT_X11_PROBE, "idle"}, {}, Said.Path());
        ASSERT_TRUE(WaitFor([&] { return Said.Text().find("ready") != std::string::npos; })) << Said.Text();
        if (WhileFreshRuns)
            WhileFreshRuns();
        Fresh.Signal(SIGTERM);
        const int FreshStatus = Fresh.Wait();
        EXPECT_TRUE(WIFSIGNALED(FreshStatus) && WTERMSIG(FreshStatus) == SIGTERM);
    }
}

class TShutdownTest : public testing::TestWithParam<TEnding> {};

TEST_P(TShutdownTest, AModifierHeldByAKeyStringIsReleased)
{
    TXServerProbe Server;
    TProbeOutput Output;
    TChildProcess Probe({INPUT_X11_PROBE, GetParam().Command}, {}, Output.Path());
    ASSERT_TRUE(WaitFor([&] { return Output.Text().find("held") != std::string::npos; })) << Output.Text();
    if (GetParam().Signal) {
        EXPECT_EQ(Server.ModifiersHeld(), "Shift") << "the probe should hold Shift until it is ended";
    }
    End(Probe, GetParam().Signal);
    EXPECT_EQ(Server.ModifiersHeld(), "");
    EXPECT_TRUE(Server.KeysDown().empty());
}

INSTANTIATE_TEST_SUITE_P(Endings, TShutdownTest,
    testing::Values(TEnding {"Terminated", "hold", SIGTERM}, TEnding {"Interrupted", "hold", SIGINT},
        TEnding {"HungUp", "hold", SIGHUP}, TEnding {"NormalExit", "hold-exit", 0},
        TEnding {"KilledThenStartedAgain", "hold", SIGKILL}),
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

// Switch the layout while a program that borrowed spare keys runs, let it type on the new one,
// end it: the keymap is then exactly the new layout's own (a killed program's debt is paid by
// the next one that starts). Two programs side by side never take each other's spares.
struct TRepairCase {
    const char* Name;
    const char* First;
    const char* Second;
    int Signal;
};

class TKeymapRepairTest : public testing::TestWithParam<TRepairCase> {};

// Latin letters that a Greek layout lacks, and signs that none of the layouts has everywhere.
const char* const SpareText = "qwz\x86\x87\x89\xA9\xAE\xBC";

TEST_P(TKeymapRepairTest, TheKeymapIsTheLayoutsOwnAfterwards)
{
    ASSERT_TRUE(SetLayout(GetParam().Second));
    const std::string Own = KeymapDump();
    ASSERT_FALSE(Own.empty());
    ASSERT_TRUE(SetLayout(GetParam().First));
    TProbeOutput Output;
    const std::string Control = Output.Path() + ".control";
    TChildProcess Probe({INPUT_X11_PROBE, "serve", SpareText, Control}, {}, Output.Path());
    ASSERT_TRUE(WaitFor([&] { return Output.Text().find("typed 1") != std::string::npos; })) << Output.Text();
    ASSERT_TRUE(SetLayout(GetParam().Second));
    std::ofstream(Control) << "2\n";
    ASSERT_TRUE(WaitFor([&] { return Output.Text().find("typed 2") != std::string::npos; })) << Output.Text();
    if (!GetParam().Signal)
        std::ofstream(Control) << "exit\n";
    End(Probe, GetParam().Signal,
        [&] { EXPECT_TRUE(KeymapDump() == Own) << "while the next one runs, the keymap differs from " << GetParam().Second << "'s own"; });
    EXPECT_TRUE(KeymapDump() == Own) << "the keymap differs from " << GetParam().Second << "'s own";
}

INSTANTIATE_TEST_SUITE_P(Switches, TKeymapRepairTest,
    testing::Values(TRepairCase {"UsToDeExit", "us", "de", 0}, TRepairCase {"UsToDeTerminated", "us", "de", SIGTERM},
        TRepairCase {"UsToDeKilled", "us", "de", SIGKILL}, TRepairCase {"DeToGrExit", "de", "gr", 0},
        TRepairCase {"DeToGrTerminated", "de", "gr", SIGTERM}, TRepairCase {"DeToGrKilled", "de", "gr", SIGKILL},
        TRepairCase {"GrToUsExit", "gr", "us", 0}, TRepairCase {"GrToUsTerminated", "gr", "us", SIGTERM},
        TRepairCase {"GrToUsKilled", "gr", "us", SIGKILL}),
    [](const testing::TestParamInfo<TRepairCase>& Info) { return std::string(Info.param.Name); });

TEST(TSpareKeys, TwoProgramsNeverShareASpareAndLeaveTheKeymapAsItWas)
{
    ASSERT_TRUE(SetLayout("gr"));
    const std::string Own = KeymapDump();
    TProbeOutput First, Second;
    const std::string FirstControl = First.Path() + ".control", SecondControl = Second.Path() + ".control";
    TChildProcess One({INPUT_X11_PROBE, "serve", "qwz\x86", FirstControl}, {}, First.Path());
    ASSERT_TRUE(WaitFor([&] { return First.Text().find("typed 1") != std::string::npos; }));
    TChildProcess Two({INPUT_X11_PROBE, "serve", "\x87\x89\xA9\xAE", SecondControl}, {}, Second.Path());
    ASSERT_TRUE(WaitFor([&] { return Second.Text().find("typed 1") != std::string::npos; }));
    // Both sets are on spares at once, each on keys of its own.
    TXServerProbe Server;
    for (const char32_t Character : {U'q', U'w', U'z', U'\u2020', U'\u2021', U'\u2030', U'\u00A9', U'\u00AE'})
        EXPECT_EQ(Server.KeysTyping(Character), 1) << std::hex << std::uint32_t(Character);
    std::ofstream(FirstControl) << "exit\n";
    End(One, 0);
    // The first one's end takes nothing of the second's.
    for (const char32_t Character : {U'\u2021', U'\u2030', U'\u00A9', U'\u00AE'})
        EXPECT_EQ(Server.KeysTyping(Character), 1) << std::hex << std::uint32_t(Character);
    std::ofstream(SecondControl) << "exit\n";
    End(Two, 0);
    EXPECT_TRUE(KeymapDump() == Own);
}

// Should the display server stop answering, a signal still ends the program, within a moment.
TEST(TShutdown, ASignalEndsTheProgramEvenWhenTheServerHangs)
{
    TProbeOutput Server;
    const std::string DisplayFile = Server.Path() + ".display";
    TChildProcess Xvfb({"sh", "-c", "exec Xvfb -displayfd 3 -nolisten tcp 3>" + DisplayFile + " 2>/dev/null"});
    ASSERT_TRUE(WaitFor([&] { return ReadWholeFile(DisplayFile).find('\n') != std::string::npos; }));
    std::string Number = ReadWholeFile(DisplayFile);
    Number.erase(Number.find('\n'));
    TProbeOutput Output;
    TChildProcess Probe({INPUT_X11_PROBE, "hold"}, {"DISPLAY=:" + Number}, Output.Path());
    ASSERT_TRUE(WaitFor([&] { return Output.Text().find("held") != std::string::npos; })) << Output.Text();
    Xvfb.Signal(SIGSTOP);
    Probe.Signal(SIGTERM);
    const int Status = Probe.Wait(std::chrono::seconds(4));
    Xvfb.Signal(SIGCONT);
    ASSERT_NE(Status, -1) << "the program still runs";
    EXPECT_TRUE(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGTERM);
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
