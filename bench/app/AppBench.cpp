// Measures an on-screen keyboard as a user meets it, on the X server of $DISPLAY:
//   start-up   from starting the program to its window being mapped by the window manager;
//   memory     resident set one second after that;
//   idle CPU   processor time the program uses over 10 seconds without input;
//   click      from a click's button release to the key press it causes, both seen as
//              XInput2 raw events on the root window (median and worst of N clicks).
// Both raw events are timed when this program receives them, so the delay of delivering
// them to a client cancels out.
//
//   AppBench --title TITLE --click X,Y [--clicks N] [--idle SECONDS] [--prepare X,Y] [--keys K]
//            -- program [args...]
// X,Y is inside the program's window (client area). With --prepare, each timed click follows an
// untimed one there (a letter before its accent); --keys times the click to its K-th key press
// (a composed accent is a BackSpace and then the new letter). Prints one line of key=value pairs.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

long ResidentKilobytes(pid_t Pid)
{
    std::ifstream StatusFile("/proc/" + std::to_string(Pid) + "/status");
    std::string Line;
    while (std::getline(StatusFile, Line)) {
        if (Line.rfind("VmRSS:", 0) == 0)
            return std::strtol(Line.c_str() + 6, nullptr, 10);
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

} // namespace

int main(int Argc, char** Argv)
{
    std::string Title;
    int ClickX = -1, ClickY = -1, Clicks = 50, IdleSeconds = 10;
    int PrepareX = -1, PrepareY = -1, Keys = 1;
    int First = 1;
    for (; First < Argc; ++First) {
        const std::string Arg = Argv[First];
        if (Arg == "--") {
            ++First;
            break;
        }
        if (First + 1 >= Argc)
            break;
        if (Arg == "--title")
            Title = Argv[++First];
        else if (Arg == "--click")
            std::sscanf(Argv[++First], "%d,%d", &ClickX, &ClickY);
        else if (Arg == "--clicks")
            Clicks = std::atoi(Argv[++First]);
        else if (Arg == "--idle")
            IdleSeconds = std::atoi(Argv[++First]);
        else if (Arg == "--prepare")
            std::sscanf(Argv[++First], "%d,%d", &PrepareX, &PrepareY);
        else if (Arg == "--keys")
            Keys = std::max(1, std::atoi(Argv[++First]));
    }
    if (Title.empty() || ClickX < 0 || First >= Argc) {
        std::fprintf(stderr, "usage: AppBench --title TITLE --click X,Y [--clicks N] [--idle S] -- program [args]\n");
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
    const Window Root = DefaultRootWindow(Connection);
    XSelectInput(Connection, Root, SubstructureNotifyMask);
    XSync(Connection, False);

    // Start-up: from exec to the titled window's MapNotify.
    const auto Started = TClock::now();
    const pid_t Pid = fork();
    if (Pid == 0) {
        execvp(Argv[First], Argv + First);
        _exit(127);
    }
    Window Target = None;
    std::optional<TClock::time_point> Mapped;
    const auto StartDeadline = Started + std::chrono::seconds(20);
    XEvent Event;
    while (!Mapped) {
        const auto Arrived = NextEvent(Connection, Event, StartDeadline);
        if (!Arrived)
            break;
        if (Event.type == CreateNotify)
            XSelectInput(Connection, Event.xcreatewindow.window, StructureNotifyMask);
        else if (Event.type == MapNotify && Event.xmap.event == Event.xmap.window
            && WindowTitle(Connection, Event.xmap.window) == Title) {
            Target = Event.xmap.window;
            Mapped = Arrived;
        }
    }
    if (!Mapped) {
        std::fprintf(stderr, "AppBench: no window \"%s\" was mapped\n", Title.c_str());
        kill(Pid, SIGTERM);
        return 1;
    }
    const double StartupMs = MillisecondsBetween(Started, *Mapped);

    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long ResidentKb = ResidentKilobytes(Pid);
    const long TicksBefore = CpuTicks(Pid);
    std::this_thread::sleep_for(std::chrono::seconds(IdleSeconds));
    const long IdleTicks = CpuTicks(Pid) - TicksBefore;
    const double IdleCpuMs = IdleTicks * 1000.0 / sysconf(_SC_CLK_TCK);

    // Clicks.
    int TargetX = 0, TargetY = 0;
    Window Child;
    XTranslateCoordinates(Connection, Target, Root, ClickX, ClickY, &TargetX, &TargetY, &Child);
    int PrepareRootX = 0, PrepareRootY = 0;
    XTranslateCoordinates(Connection, Target, Root, PrepareX, PrepareY, &PrepareRootX, &PrepareRootY, &Child);
    unsigned char MaskBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(MaskBits, XI_RawButtonRelease);
    XISetMask(MaskBits, XI_RawKeyPress);
    XIEventMask Mask { XIAllDevices, sizeof MaskBits, MaskBits };
    XISelectEvents(Connection, Root, &Mask, 1);
    XTestFakeMotionEvent(Connection, -1, TargetX, TargetY, CurrentTime);
    XSync(Connection, False);
    std::vector<double> Latencies;
    int Lost = 0;
    for (int Click = 0; Click < Clicks; ++Click) {
        if (PrepareX >= 0) {
            XTestFakeMotionEvent(Connection, -1, PrepareRootX, PrepareRootY, CurrentTime);
            XTestFakeButtonEvent(Connection, 1, True, CurrentTime);
            XFlush(Connection);
            std::this_thread::sleep_for(std::chrono::milliseconds(80));
            XTestFakeButtonEvent(Connection, 1, False, CurrentTime);
            XFlush(Connection);
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            XTestFakeMotionEvent(Connection, -1, TargetX, TargetY, CurrentTime);
            XFlush(Connection);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        while (XPending(Connection))
            XNextEvent(Connection, &Event);
        // A click as a hand makes it: the button is held a moment before it is let go, so the
        // program has handled the press before the release that the latency is counted from.
        XTestFakeButtonEvent(Connection, 1, True, CurrentTime);
        XFlush(Connection);
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        while (XPending(Connection))
            XNextEvent(Connection, &Event);
        XTestFakeButtonEvent(Connection, 1, False, CurrentTime);
        XFlush(Connection);
        std::optional<TClock::time_point> Released, Pressed;
        int KeysPressed = 0;
        const auto Deadline = TClock::now() + std::chrono::seconds(2);
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
            else if (Event.xcookie.evtype == XI_RawKeyPress && Released) {
                // Each key once: the slave keyboard's event, not its master's copy.
                const auto* Raw = static_cast<const XIRawEvent*>(Event.xcookie.data);
                if (Raw->deviceid == Raw->sourceid && ++KeysPressed == Keys)
                    Pressed = Arrived;
            }
            XFreeEventData(Connection, &Event.xcookie);
        }
        if (Released && Pressed)
            Latencies.push_back(MillisecondsBetween(*Released, *Pressed));
        else
            ++Lost;
    }
    std::sort(Latencies.begin(), Latencies.end());
    const double Median = Latencies.empty() ? -1 : Latencies[Latencies.size() / 2];
    const double Worst = Latencies.empty() ? -1 : Latencies.back();

    kill(Pid, SIGTERM);
    waitpid(Pid, nullptr, 0);
    XCloseDisplay(Connection);
    std::printf("startup_ms=%.1f rss_mb=%.1f idle_cpu_ms=%.0f click_median_ms=%.3f click_worst_ms=%.3f clicks=%zu lost=%d\n",
        StartupMs, ResidentKb / 1024.0, IdleCpuMs, Median, Worst, Latencies.size(), Lost);
    return 0;
}
