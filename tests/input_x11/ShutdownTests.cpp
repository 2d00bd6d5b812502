// A program on the backend, ended in the ways programs end, leaves nothing held down and no
// keycode remapped; without a display or without XTest it says so in one line and fails.
#include "X11Tools.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

namespace {

// The probe program (InputX11Probe) typing the key string Text, on DISPLAY or on Display.
std::unique_ptr<TChildProcess> StartProbe(const char* Command, const char* Text, std::optional<QString> Display = {})
{
    auto Probe = std::make_unique<TChildProcess>();
    Probe->setProcessChannelMode(QProcess::MergedChannels);
    if (Display) {
        auto Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert("DISPLAY", *Display);
        Probe->setProcessEnvironment(Environment);
    }
    Probe->start(INPUT_X11_PROBE, {Command, QString::fromLatin1(Text)});
    return Probe;
}

// Reads what Probe says until it has said Words.
testing::AssertionResult Says(QProcess& Probe, const char* Words)
{
    QByteArray Said = Probe.readAll();
    while (!Said.contains(Words) && Probe.waitForReadyRead(10000))
        Said += Probe.readAll();
    if (Said.contains(Words))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the probe said \"" << Said.toStdString() << "\", not \"" << Words << "\"";
}

// Whether Probe ended by Signal, or with exit status Code when Signal is 0.
testing::AssertionResult EndedBy(QProcess& Probe, int Signal, int Code = 0)
{
    if (Probe.state() != QProcess::NotRunning && !Probe.waitForFinished(10000))
        return testing::AssertionFailure() << "the program still runs";
    const bool Killed = Probe.exitStatus() == QProcess::CrashExit;
    if (Killed == (Signal != 0) && Probe.exitCode() == (Signal ? Signal : Code))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << (Killed ? "ended by signal " : "exited with ") << Probe.exitCode();
}

// Ends Probe by Signal (0: at the end of its input); a killed probe is followed by a fresh
// start, which repairs at once: WhileFreshRuns checks the repair while that fresh one still runs.
void End(TChildProcess& Probe, int Signal, const std::function<void()>& WhileFreshRuns = {})
{
    if (Signal)
        Probe.Signal(Signal);
    else
        Probe.closeWriteChannel();
    ASSERT_TRUE(EndedBy(Probe, Signal)) << "the program should end as by itself or die of the signal";
    if (Signal == SIGKILL) {
        const auto Fresh = StartProbe("serve", "");
        ASSERT_TRUE(Says(*Fresh, "typed 1"));
        if (WhileFreshRuns)
            WhileFreshRuns();
        Fresh->Signal(SIGTERM);
        EXPECT_TRUE(EndedBy(*Fresh, SIGTERM));
    }
}

// A private X server (Xvfb with Options) that the test may stop; its display name.
QString StartServer(QProcess& Xvfb, const QStringList& Options = {})
{
    Xvfb.setStandardErrorFile(QProcess::nullDevice());
    Xvfb.start("Xvfb", QStringList {"-displayfd", "1", "-nolisten", "tcp"} + Options);
    QByteArray Number;
    while (!Number.endsWith('\n') && Xvfb.waitForReadyRead(10000))
        Number += Xvfb.readAllStandardOutput();
    return Number.isEmpty() ? QString() : ":" + QString::fromLatin1(Number.trimmed());
}

class TShutdownTest : public testing::TestWithParam<int> {};

TEST_P(TShutdownTest, AModifierHeldByAKeyStringIsReleased)
{
    TXServerProbe Server;
    const auto Probe = StartProbe("serve", "\xFA");
    ASSERT_TRUE(Says(*Probe, "typed 1"));
    EXPECT_EQ(Server.ModifiersHeld(), "Shift") << "the probe should hold Shift until it is ended";
    End(*Probe, GetParam());
    EXPECT_EQ(Server.ModifiersHeld(), "");
    EXPECT_TRUE(Server.KeysDown().empty());
}

INSTANTIATE_TEST_SUITE_P(Endings, TShutdownTest, testing::Values(SIGTERM, SIGINT, SIGHUP, 0, SIGKILL),
    [](const testing::TestParamInfo<int>& Info) {
        return std::string(Info.param ? sigabbrev_np(Info.param) : "exit");
    });

// Spares taken just before the end, by a program that never ran its event loop.
TEST(TShutdown, SpareKeycodesAreClearedWhenTheProgramEnds)
{
    ASSERT_TRUE(SetLayout("us"));
    TXServerProbe Server;
    ASSERT_EQ(Server.KeysTyping(U'\u00C6'), 0);
    const auto Probe = StartProbe("type", "\xC6\xC6\xD0");
    ASSERT_TRUE(EndedBy(*Probe, 0)) << Probe->readAll().toStdString();
    EXPECT_EQ(Server.KeysTyping(U'\u00C6'), 0);
    EXPECT_EQ(Server.KeysTyping(U'\u00D0'), 0);
}

// Switch the layout while a program that borrowed spare keys runs, let it type on the new one,
// end it: the keymap is then exactly the new layout's own (a killed program's debt is paid by
// the next one that starts). Two programs side by side never take each other's spares.
using TRepairCase = std::tuple<std::pair<const char*, const char*>, int>;

class TKeymapRepairTest : public testing::TestWithParam<TRepairCase> {};

TEST_P(TKeymapRepairTest, TheKeymapIsTheLayoutsOwnAfterwards)
{
    const auto [Layouts, Signal] = GetParam();
    const auto [First, Second] = Layouts;
    ASSERT_TRUE(SetLayout(Second));
    const std::string Own = KeymapDump();
    ASSERT_FALSE(Own.empty());
    ASSERT_TRUE(SetLayout(First));
    // Latin letters that a Greek layout lacks, and signs that none of the layouts has everywhere.
    const auto Probe = StartProbe("serve", "qwz\x86\x87\x89\xA9\xAE\xBC");
    ASSERT_TRUE(Says(*Probe, "typed 1"));
    ASSERT_TRUE(SetLayout(Second));
    Probe->write("\n"); // type once more
    Probe->waitForBytesWritten();
    ASSERT_TRUE(Says(*Probe, "typed 2"));
    End(*Probe, Signal, [&] {
        EXPECT_TRUE(KeymapDump() == Own) << "while the next one runs, the keymap differs from " << Second << "'s own";
    });
    EXPECT_TRUE(KeymapDump() == Own) << "the keymap differs from " << Second << "'s own";
}

std::string RepairCaseName(const testing::TestParamInfo<TRepairCase>& Info)
{
    const auto& [Layouts, Signal] = Info.param;
    return std::string(Layouts.first) + "_to_" + Layouts.second + "_" + (Signal ? sigabbrev_np(Signal) : "exit");
}

INSTANTIATE_TEST_SUITE_P(Switches, TKeymapRepairTest,
    testing::Combine(testing::Values(std::pair {"us", "de"}, std::pair {"de", "gr"}, std::pair {"gr", "us"}),
        testing::Values(0, SIGTERM, SIGKILL)),
    RepairCaseName);

TEST(TSpareKeys, TwoProgramsNeverShareASpareAndLeaveTheKeymapAsItWas)
{
    ASSERT_TRUE(SetLayout("gr"));
    const std::string Own = KeymapDump();
    const auto One = StartProbe("serve", "qwz\x86");
    ASSERT_TRUE(Says(*One, "typed 1"));
    const auto Two = StartProbe("serve", "\x87\x89\xA9\xAE");
    ASSERT_TRUE(Says(*Two, "typed 1"));
    // Both sets are on spares at once, each on keys of its own.
    TXServerProbe Server;
    for (const char32_t Character : {U'q', U'w', U'z', U'\u2020', U'\u2021', U'\u2030', U'\u00A9', U'\u00AE'})
        EXPECT_EQ(Server.KeysTyping(Character), 1) << std::hex << std::uint32_t(Character);
    End(*One, 0);
    // The first one's end takes nothing of the second's.
    for (const char32_t Character : {U'\u2021', U'\u2030', U'\u00A9', U'\u00AE'})
        EXPECT_EQ(Server.KeysTyping(Character), 1) << std::hex << std::uint32_t(Character);
    End(*Two, 0);
    EXPECT_TRUE(KeymapDump() == Own);
}

// Should the display server stop answering, a signal still ends the program, within a moment.
TEST(TShutdown, ASignalEndsTheProgramEvenWhenTheServerHangs)
{
    TChildProcess Xvfb;
    const QString Display = StartServer(Xvfb);
    ASSERT_FALSE(Display.isEmpty());
    const auto Probe = StartProbe("serve", "\xFA", Display);
    ASSERT_TRUE(Says(*Probe, "typed 1"));
    Xvfb.Signal(SIGSTOP);
    Probe->Signal(SIGTERM);
    const bool Ended = Probe->waitForFinished(4000);
    Xvfb.Signal(SIGCONT);
    ASSERT_TRUE(Ended) << "the program still runs";
    EXPECT_TRUE(EndedBy(*Probe, SIGTERM));
}

// The program's own error path: exit status 1 and one line of output that names the problem.
TEST(TStartup, WithoutADisplayOrXTestTheProgramSaysSoAndFails)
{
    TChildProcess Xvfb;
    const QString WithoutXTest = StartServer(Xvfb, {"-extension", "XTEST"});
    ASSERT_FALSE(WithoutXTest.isEmpty());
    const std::pair<QString, const char*> Cases[] = {
        {":4093", "cannot open display :4093"}, {"", "DISPLAY is not set"}, {WithoutXTest, "has no XTest extension"}};
    for (const auto& [Display, Reason] : Cases) {
        const auto Probe = StartProbe("type", "", Display);
        ASSERT_TRUE(EndedBy(*Probe, 0, 1)) << Reason;
        const QByteArray Said = Probe->readAll();
        EXPECT_TRUE(Said.contains(Reason)) << Said.toStdString();
        EXPECT_EQ(Said.count('\n'), 1) << Said.toStdString();
    }
}

} // namespace
