// Measures on-screen keyboards side by side as a user meets them, on the X server of $DISPLAY,
// and prints one table with each program's ratio to the first one (the floor):
//   start-up   from starting the program to its window being mapped (median of N after one
//              start that warms the caches);
//   memory     resident set and proportional set one second after start;
//   idle CPU   processor time the program uses over some seconds without input;
//   click      from a click's button release to the key press it causes, both seen as
//              XInput2 raw events on the root window (median and 90th percentile of all clicks
//              of R rounds of C clicks; the programs take their rounds in turn, so a change of
//              load on the machine falls on all of them alike).
// Both raw events are timed when this program receives them, so the delay of delivering them
// to a client cancels out. All clicks come from this one process's connection through XTest.
//
//   AppBench [--rounds R] [--clicks C] [--starts N] [--idle S] PROGRAM...
// where each PROGRAM is one argument "NAME;WINDOW TITLE;X,Y;COMMAND ARG...[;OPTION]...", X,Y a
// point inside the window's client area that types a key. Options:
//   own-bus      starts the program on a session bus of its own (dbus-run-session): for a
//                program that turns on the desktop's accessibility services, which would
//                otherwise stay on and slow down every toolkit program measured after it.
//                Memory and CPU are then the program's, not the bus's.
//   prepare=X,Y  clicks there before every timed click, untimed (a letter before an accent);
//   keys=N       times the click to the N-th key press it causes (a mark that replaces the
//                letter before it is a BackSpace and then the new letter).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsBetween(TClock::time_point From, TClock::time_point To)
{
    return std::chrono::duration<double, std::milli>(To - From).count();
}

struct TProgram {
    std::string Name;
    std::string Title;
    int ClickX = 0, ClickY = 0;
    std::vector<std::string> Command;
    bool OwnBus = false;
    std::optional<std::pair<int, int>> Prepare;
    int Keys = 1;

    std::vector<double> Startups;
    std::vector<double> Latencies;
    int Lost = 0;
    double ResidentMb = -1, ProportionalMb = -1, IdleCpuMs = -1;
};

struct TRunning {
    pid_t Pid = -1;
    // The program itself: Pid, or the child of dbus-run-session that is not the bus.
    pid_t ProgramPid = -1;
    Window Target = None;
    double StartupMs = 0;
};

std::optional<TProgram> ParseProgram(const std::string& Argument)
{
    std::vector<std::string> Fields;
    std::stringstream Stream(Argument);
    for (std::string Field; std::getline(Stream, Field, ';');)
        Fields.push_back(Field);
    TProgram Program;
    if (Fields.size() < 4 || std::sscanf(Fields[2].c_str(), "%d,%d", &Program.ClickX, &Program.ClickY) != 2)
        return std::nullopt;
    for (std::size_t Index = 4; Index < Fields.size(); ++Index) {
        int X = 0, Y = 0;
        if (Fields[Index] == "own-bus")
            Program.OwnBus = true;
        else if (std::sscanf(Fields[Index].c_str(), "prepare=%d,%d", &X, &Y) == 2)
            Program.Prepare = std::make_pair(X, Y);
        else if (std::sscanf(Fields[Index].c_str(), "keys=%d", &Program.Keys) != 1 || Program.Keys < 1)
            return std::nullopt;
    }
    Program.Name = Fields[0];
    Program.Title = Fields[1];
    std::stringstream Words(Fields[3]);
    for (std::string Word; Words >> Word;)
        Program.Command.push_back(Word);
    if (Program.Command.empty())
        return std::nullopt;
    return Program;
}

std::string WindowTitle(Display* Connection, Window Target)
{
    Atom NetName = XInternAtom(Connection, "_NET_WM_NAME", False);
    Atom Utf8 = XInternAtom(Connection, "UTF8_STRING", False);
    Atom Type = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    std::string Title;
    if (XGetWindowProperty(Connection, Target, NetName, 0, 1024, False, Utf8, &Type, &Format, &Count, &After, &Data) == Success && Data) {
        Title.assign(reinterpret_cast<char*>(Data), Count);
        XFree(Data);
    }
    if (Title.empty()) {
        char* Name = nullptr;
        if (XFetchName(Connection, Target, &Name) && Name) {
            Title = Name;
            XFree(Name);
        }
    }
    return Title;
}

// Waits for the next event, at most until Deadline; the time it arrived.
std::optional<TClock::time_point> NextEvent(Display* Connection, XEvent& Event, TClock::time_point Deadline)
{
    while (!XPending(Connection)) {
        const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - TClock::now()).count();
        if (Left <= 0)
            return std::nullopt;
        pollfd Wait { ConnectionNumber(Connection), POLLIN, 0 };
        poll(&Wait, 1, static_cast<int>(std::min<long long>(Left, 50)));
    }
    XNextEvent(Connection, &Event);
    return TClock::now();
}

void DrainEvents(Display* Connection)
{
    XEvent Event;
    while (XPending(Connection))
        XNextEvent(Connection, &Event);
}

// A field of /proc/PID/status or /proc/PID/smaps_rollup, in kilobytes.
long ProcKilobytes(pid_t Pid, const char* File, const std::string& Field)
{
    std::ifstream Stream("/proc/" + std::to_string(Pid) + "/" + File);
    for (std::string Line; std::getline(Stream, Line);) {
        if (Line.rfind(Field, 0) == 0)
            return std::strtol(Line.c_str() + Field.size(), nullptr, 10);
    }
    return -1;
}

// User and system time of the process, in clock ticks.
long CpuTicks(pid_t Pid)
{
    std::ifstream StatFile("/proc/" + std::to_string(Pid) + "/stat");
    std::string Text((std::istreambuf_iterator<char>(StatFile)), std::istreambuf_iterator<char>());
    const auto Close = Text.rfind(')');
    if (Close == std::string::npos)
        return -1;
    std::istringstream Fields(Text.substr(Close + 2));
    std::string Field;
    long Utime = 0, Stime = 0;
    for (int Index = 3; Fields >> Field; ++Index) {
        if (Index == 14)
            Utime = std::stol(Field);
        if (Index == 15) {
            Stime = std::stol(Field);
            break;
        }
    }
    return Utime + Stime;
}

// The program that dbus-run-session Session runs: its child that is not the bus.
pid_t SessionProgram(pid_t Session)
{
    std::ifstream Children("/proc/" + std::to_string(Session) + "/task/" + std::to_string(Session) + "/children");
    for (pid_t Child = 0; Children >> Child;) {
        std::ifstream Name("/proc/" + std::to_string(Child) + "/comm");
        std::string Command;
        std::getline(Name, Command);
        if (Command != "dbus-daemon")
            return Child;
    }
    return -1;
}

void Stop(const TRunning& Running)
{
    // dbus-run-session ends its bus when its program ends, not when it is itself stopped.
    kill(Running.ProgramPid > 0 ? Running.ProgramPid : Running.Pid, SIGTERM);
    waitpid(Running.Pid, nullptr, 0);
}

// Starts the program and waits for its titled window to be mapped by the window manager.
std::optional<TRunning> Start(Display* Connection, const TProgram& Program)
{
    const Window Root = DefaultRootWindow(Connection);
    XSelectInput(Connection, Root, SubstructureNotifyMask);
    XSync(Connection, False);
    DrainEvents(Connection);
    std::vector<char*> Arguments;
    static char RunSession[] = "dbus-run-session", Separator[] = "--";
    if (Program.OwnBus)
        Arguments.insert(Arguments.end(), { RunSession, Separator });
    for (const std::string& Word : Program.Command)
        Arguments.push_back(const_cast<char*>(Word.c_str()));
    Arguments.push_back(nullptr);
    TRunning Running;
    const auto Started = TClock::now();
    Running.Pid = fork();
    if (Running.Pid == 0) {
        // The programs' chatter about fonts and services would bury the table.
        const int Null = open("/dev/null", O_WRONLY);
        dup2(Null, STDOUT_FILENO);
        dup2(Null, STDERR_FILENO);
        execvp(Arguments[0], Arguments.data());
        _exit(127);
    }
    const auto Deadline = Started + std::chrono::seconds(20);
    XEvent Event;
    while (Running.Target == None) {
        const auto Arrived = NextEvent(Connection, Event, Deadline);
        if (!Arrived)
            break;
        if (Event.type == CreateNotify) {
            // A quick program maps its window before this selection reaches the server.
            const Window Created = Event.xcreatewindow.window;
            XSelectInput(Connection, Created, StructureNotifyMask);
            XWindowAttributes Attributes;
            if (XGetWindowAttributes(Connection, Created, &Attributes) && Attributes.map_state == IsViewable
                && WindowTitle(Connection, Created) == Program.Title) {
                Running.Target = Created;
                Running.StartupMs = MillisecondsBetween(Started, TClock::now());
            }
        } else if (Event.type == MapNotify && Event.xmap.event == Event.xmap.window
            && WindowTitle(Connection, Event.xmap.window) == Program.Title) {
            Running.Target = Event.xmap.window;
            Running.StartupMs = MillisecondsBetween(Started, *Arrived);
        }
    }
    XSelectInput(Connection, Root, NoEventMask);
    Running.ProgramPid = Program.OwnBus ? SessionProgram(Running.Pid) : Running.Pid;
    if (Running.Target == None || Running.ProgramPid <= 0) {
        std::fprintf(stderr, "AppBench: %s mapped no window \"%s\"\n", Program.Name.c_str(), Program.Title.c_str());
        Stop(Running);
        return std::nullopt;
    }
    return Running;
}

// Clicks the program's key Clicks times; each click as a hand makes it, the button held a
// moment so that the program has handled the press before the release the latency counts from.
void Click(Display* Connection, int XiOpcode, TProgram& Program, const TRunning& Running, int Clicks)
{
    const Window Root = DefaultRootWindow(Connection);
    int RootX = 0, RootY = 0, PrepareX = 0, PrepareY = 0;
    Window Child;
    XTranslateCoordinates(Connection, Running.Target, Root, Program.ClickX, Program.ClickY, &RootX, &RootY, &Child);
    if (Program.Prepare)
        XTranslateCoordinates(Connection, Running.Target, Root, Program.Prepare->first, Program.Prepare->second, &PrepareX,
            &PrepareY, &Child);
    const auto Press = [&](bool Down) {
        XTestFakeButtonEvent(Connection, 1, Down ? True : False, CurrentTime);
        XFlush(Connection);
    };
    unsigned char MaskBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(MaskBits, XI_RawButtonRelease);
    XISetMask(MaskBits, XI_RawKeyPress);
    XIEventMask Mask { XIAllDevices, sizeof MaskBits, MaskBits };
    XISelectEvents(Connection, Root, &Mask, 1);
    XTestFakeMotionEvent(Connection, -1, RootX, RootY, CurrentTime);
    XSync(Connection, False);
    XEvent Event;
    for (int Index = 0; Index < Clicks; ++Index) {
        if (Program.Prepare) {
            XTestFakeMotionEvent(Connection, -1, PrepareX, PrepareY, CurrentTime);
            Press(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
            Press(false);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            XTestFakeMotionEvent(Connection, -1, RootX, RootY, CurrentTime);
            XFlush(Connection);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        DrainEvents(Connection);
        Press(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        DrainEvents(Connection);
        Press(false);
        std::optional<TClock::time_point> Released, Pressed;
        int KeysSeen = 0;
        const auto Deadline = TClock::now() + std::chrono::seconds(1);
        while (!Pressed) {
            const auto Arrived = NextEvent(Connection, Event, Deadline);
            if (!Arrived)
                break;
            if (Event.xcookie.type != GenericEvent || Event.xcookie.extension != XiOpcode)
                continue;
            if (!XGetEventData(Connection, &Event.xcookie))
                continue;
            if (Event.xcookie.evtype == XI_RawButtonRelease && !Released)
                Released = Arrived;
            else if (Event.xcookie.evtype == XI_RawKeyPress && Released && ++KeysSeen == Program.Keys)
                Pressed = Arrived;
            XFreeEventData(Connection, &Event.xcookie);
        }
        if (Released && Pressed)
            Program.Latencies.push_back(MillisecondsBetween(*Released, *Pressed));
        else
            ++Program.Lost;
    }
    XIEventMask NoEvents { XIAllDevices, 0, nullptr };
    XISelectEvents(Connection, Root, &NoEvents, 1);
    XSync(Connection, False);
}

double Percentile(std::vector<double> Values, double Fraction)
{
    if (Values.empty())
        return NAN;
    std::sort(Values.begin(), Values.end());
    const auto Rank = static_cast<size_t>(std::ceil(Fraction * Values.size()));
    return Values[std::clamp<size_t>(Rank, 1, Values.size()) - 1];
}

double LoadAverage()
{
    double Load = -1;
    if (FILE* File = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(File, "%lf", &Load) != 1)
            Load = -1;
        std::fclose(File);
    }
    return Load;
}

} // namespace

int main(int Argc, char** Argv)
{
    int Rounds = 3, Clicks = 50, Starts = 5, IdleSeconds = 10;
    std::vector<TProgram> Programs;
    for (int Index = 1; Index < Argc; ++Index) {
        const std::string Arg = Argv[Index];
        int* Option = Arg == "--rounds" ? &Rounds : Arg == "--clicks" ? &Clicks
            : Arg == "--starts"                     ? &Starts
            : Arg == "--idle"                       ? &IdleSeconds
                                                    : nullptr;
        if (Option && Index + 1 < Argc) {
            *Option = std::atoi(Argv[++Index]);
            continue;
        }
        std::optional<TProgram> Program = ParseProgram(Arg);
        if (!Program) {
            std::fprintf(stderr, "usage: AppBench [--rounds R] [--clicks C] [--starts N] [--idle S] \"NAME;TITLE;X,Y;COMMAND...\"...\n");
            return 2;
        }
        Programs.push_back(*Program);
    }
    if (Programs.empty() || Rounds < 0 || Starts < 1) {
        std::fprintf(stderr, "AppBench: nothing to measure\n");
        return 2;
    }
    Display* Connection = XOpenDisplay(nullptr);
    if (!Connection) {
        std::fprintf(stderr, "AppBench: cannot open display\n");
        return 2;
    }
    int XiOpcode = 0, EventBase = 0, ErrorBase = 0;
    if (!XQueryExtension(Connection, "XInputExtension", &XiOpcode, &EventBase, &ErrorBase)) {
        std::fprintf(stderr, "AppBench: no XInput extension\n");
        return 2;
    }
    const double LoadBefore = LoadAverage();

    // Start-up: one start to warm the caches, then the measured ones; the programs in turn.
    for (int Attempt = 0; Attempt <= Starts; ++Attempt) {
        for (TProgram& Program : Programs) {
            const std::optional<TRunning> Running = Start(Connection, Program);
            if (!Running)
                return 1;
            if (Attempt > 0)
                Program.Startups.push_back(Running->StartupMs);
            // Let it finish what it does after mapping before it is stopped.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            Stop(*Running);
        }
    }
    for (int Round = 0; Round < Rounds; ++Round) {
        for (TProgram& Program : Programs) {
            const std::optional<TRunning> Running = Start(Connection, Program);
            if (!Running)
                return 1;
            std::this_thread::sleep_for(std::chrono::seconds(1));
            if (Round == 0) {
                const pid_t Measured = Running->ProgramPid;
                Program.ResidentMb = ProcKilobytes(Measured, "status", "VmRSS:") / 1024.0;
                Program.ProportionalMb = ProcKilobytes(Measured, "smaps_rollup", "Pss:") / 1024.0;
                const long TicksBefore = CpuTicks(Measured);
                std::this_thread::sleep_for(std::chrono::seconds(IdleSeconds));
                Program.IdleCpuMs = (CpuTicks(Measured) - TicksBefore) * 1000.0 / sysconf(_SC_CLK_TCK);
            }
            Click(Connection, XiOpcode, Program, *Running, Clicks);
            Stop(*Running);
        }
    }
    XCloseDisplay(Connection);

    const TProgram& Floor = Programs.front();
    const double FloorMedian = Percentile(Floor.Latencies, 0.5);
    const double FloorStartup = Percentile(Floor.Startups, 0.5);
    std::printf("\n%d x %d clicks per program; start-up median of %d after a warm-up; idle CPU over %d s; load average %.2f before, %.2f after\n\n",
        Rounds, Clicks, Starts, IdleSeconds, LoadBefore, LoadAverage());
    std::printf("| program | click to key, median / p90 (ms) | x floor | start-up (ms) | x floor | RSS (MB) | PSS (MB) | idle CPU (ms) | clicks typed |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const TProgram& Program : Programs) {
        const double Median = Percentile(Program.Latencies, 0.5);
        const double Startup = Percentile(Program.Startups, 0.5);
        std::printf("| %s | %.3f / %.3f | %.2f | %.1f | %.1f | %.1f | %.1f | %.0f | %zu/%zu |\n", Program.Name.c_str(),
            Median, Percentile(Program.Latencies, 0.9), Median / FloorMedian, Startup, Startup / FloorStartup,
            Program.ResidentMb, Program.ProportionalMb, Program.IdleCpuMs, Program.Latencies.size(),
            Program.Latencies.size() + Program.Lost);
    }
    return 0;
}
