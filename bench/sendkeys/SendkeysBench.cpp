// How fast TSendkeys::SendKeys types into a real X program through the X11 backend: for each
// layout, a few thousand characters into xterm, timed from the call until the last byte has
// arrived, and checked byte for byte. Run it through bench/sendkeys/run (a private Xvfb).
#include "InputBackend.h"
#include "Sendkey.h"
#include "TApplication.h"
#include "X11InputBackend.h"
#include "X11Tools.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

struct TRun {
    std::string Layout;
    std::string Text;
    std::string Note;
};

struct TResult {
    double SendSeconds = 0;
    double ArrivalSeconds = 0;
    bool Correct = false;
    std::size_t Arrived = 0;
};

// Printable ASCII over and over: letters, digits and punctuation, with Shift and, on most
// European layouts, AltGr and a few spare-keycode characters among them.
std::string RepeatedAscii(std::size_t Count)
{
    std::string Text;
    for (std::size_t Index = 0; Text.size() < Count; ++Index)
        Text += char(32 + Index % 95);
    return Text;
}

// Three runs into one terminal (a new window per run would time the window manager too).
std::vector<TResult> Measure(const TRun& Run, TSendkeys& Sender, TXServerProbe& Server, int Number)
{
    std::vector<TResult> Results;
    if (!SetLayout(Run.Layout)) {
        std::fprintf(stderr, "SendkeysBench: setxkbmap %s failed\n", Run.Layout.c_str());
        return Results;
    }
    // With two layouts, the second one is the active group.
    Server.LockGroup(Run.Layout.find(',') != std::string::npos ? 1 : 0);
    TXtermTarget Target("kivo-bench-" + std::to_string(Number));
    if (!Target.Ready() || !Target.Focus()) {
        std::fprintf(stderr, "SendkeysBench: the target terminal did not come up\n");
        return Results;
    }
    for (int Repetition = 0; Repetition < 3; ++Repetition) {
        TResult Result;
        const std::size_t Before = Target.Received().size();
        const std::size_t Expected = Before + Run.Text.size();
        const auto Start = TClock::now();
        Sender.SendKeys(Run.Text);
        const auto Sent = TClock::now();
        WaitFor([&] { return Target.Received().size() >= Expected; }, 60000);
        const auto Arrived = TClock::now();
        const std::string Received = Target.Received();
        Result.SendSeconds = std::chrono::duration<double>(Sent - Start).count();
        Result.ArrivalSeconds = std::chrono::duration<double>(Arrived - Start).count();
        Result.Arrived = Received.size() - Before;
        Result.Correct = Received.size() >= Expected && Received.compare(Before, std::string::npos, Run.Text) == 0;
        if (!Result.Correct)
            std::fprintf(stderr, "  %zu of %zu bytes arrived, not all as sent\n", Result.Arrived, Run.Text.size());
        Results.push_back(Result);
    }
    // Anything arriving late, after the last run, is a surplus character.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::size_t Total = Target.Received().size();
    if (!Results.empty() && Total != Run.Text.size() * Results.size())
        Results.back().Correct = false;
    return Results;
}

} // namespace

int main(int Argc, char** Argv)
{
    const std::size_t Count = Argc > 1 ? std::strtoul(Argv[1], nullptr, 10) : 5000;
    TUserText Error;
    auto Backend = CreateX11InputBackend(Error);
    if (!Backend) {
        std::fprintf(stderr, "SendkeysBench: %s\n", Error.English().c_str());
        return 1;
    }
    SetInputBackend(std::move(Backend));
    bool AllCorrect = true;
    {
        TApplication App(Argc, Argv);
        TSendkeys Sender;
        TXServerProbe Server;
        const std::vector<TRun> Runs = {
            {"us", RepeatedAscii(Count), "printable ASCII"},
            {"de", RepeatedAscii(Count), "printable ASCII (AltGr, 2 spare keycodes)"},
            {"fr", RepeatedAscii(Count), "printable ASCII (AltGr, dead keys)"},
            {"us,gr", RepeatedAscii(Count), "printable ASCII, Greek group active"},
            {"us", std::string(Count, 'a'), "one key, no modifier"},
            // Every Latin letter through a spare keycode (the first run maps them).
            {"gr", RepeatedAscii(Count), "printable ASCII, letters on spare keys"},
        };
        std::printf("%-7s %-42s %7s %8s %9s %9s %8s %8s\n", "layout", "text", "chars", "seconds", "chars/s",
            "us/char", "send us", "correct");
        // Each row is the median of three runs: the machine is shared, single runs are noisy.
        int Number = 0;
        for (const auto& Run : Runs) {
            std::vector<TResult> Results = Measure(Run, Sender, Server, ++Number);
            bool RunCorrect = Results.size() == 3;
            for (const auto& Result : Results)
                RunCorrect = RunCorrect && Result.Correct;
            std::sort(Results.begin(), Results.end(),
                [](const TResult& Left, const TResult& Right) { return Left.ArrivalSeconds < Right.ArrivalSeconds; });
            const TResult Result = Results.size() == 3 ? Results[1] : TResult {};
            AllCorrect = AllCorrect && RunCorrect;
            const double Chars = double(Run.Text.size());
            std::printf("%-7s %-42s %7zu %8.3f %9.0f %9.1f %8.1f %8s\n", Run.Layout.c_str(), Run.Note.c_str(),
                Run.Text.size(), Result.ArrivalSeconds, Result.ArrivalSeconds > 0 ? Chars / Result.ArrivalSeconds : 0.0,
                Result.ArrivalSeconds * 1e6 / Chars, Result.SendSeconds * 1e6 / Chars, RunCorrect ? "yes" : "NO");
            std::fflush(stdout);
        }
        Server.LockGroup(0);
        SetLayout("us");
    }
    SetInputBackend(nullptr);
    std::printf("\nchars/s and us/char: from the call of SendKeys until the last character has arrived in\n"
                "xterm (cat > file), median of 3 runs; send us: time per character until SendKeys\n"
                "returned; correct: every byte of all 3 runs arrived as sent.\n");
    return AllCorrect ? 0 : 1;
}
