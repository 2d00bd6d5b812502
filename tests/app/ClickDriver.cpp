// Clicks the mouse from one X connection of its own, as a hand would, pacing each click on the
// arrival of what the clicks before it typed: one xdotool process per click would let its
// start-up time set the pace and hide every race shorter than it.
//
//   ClickDriver FILE OFFSET MIN_GAP_MS MAX_GAP_MS [HOLD_MS] < CLICKS
//
// CLICKS has one click a line, "X Y BYTES": root coordinates and the bytes the click adds to
// FILE. Before each click the driver waits until FILE holds (beyond OFFSET) every byte of the
// clicks before, two seconds at most (else a stall: pacing goes on from what did arrive), then a
// gap drawn from MIN_GAP_MS to MAX_GAP_MS, counted from that arrival or from the previous
// release, whichever came later; at the end it waits up to ten seconds for every byte. FILE "-"
// watches nothing (a target that shows what it received only on the screen): the gap counts
// from the release, and the end comes once the server has seen no key for a second. With
// HOLD_MS the driver is impatient, as a real mouse is: press, hold HOLD_MS (0: press and release
// in one flush), release, without waiting for the server to show any of it; without it, each step
// waits until the server shows it done. Prints "clicks N expected E arrived A stalls S"; exits 0
// when all arrived, 1 if not, 2 on bad use.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;

long long FileSize(const std::string& Path)
{
    struct stat Info {};
    return stat(Path.c_str(), &Info) == 0 ? Info.st_size : 0;
}

// Polls every millisecond, so that the moment of arrival is known to about one.
bool WaitForSize(const std::string& Path, long long Wanted, std::chrono::milliseconds Timeout)
{
    const auto Deadline = TClock::now() + Timeout;
    while (FileSize(Path) < Wanted) {
        if (TClock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Waits until the server has the first button down (or up).
void WaitForButton(Display* Connection, bool Down)
{
    const auto Deadline = TClock::now() + std::chrono::seconds(5);
    for (;;) {
        Window Root = 0, Child = 0;
        int RootX = 0, RootY = 0, X = 0, Y = 0;
        unsigned Mask = 0;
        XQueryPointer(Connection, DefaultRootWindow(Connection), &Root, &Child, &RootX, &RootY, &X, &Y, &Mask);
        if (bool(Mask & Button1Mask) == Down || TClock::now() > Deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Listens to every key press and release on the server, whichever client makes it: the raw
// events XInput 2 reports on the root window.
bool ListenToKeys(Display* Connection)
{
    int Opcode = 0, Event = 0, Error = 0, Major = 2, Minor = 1;
    if (!XQueryExtension(Connection, "XInputExtension", &Opcode, &Event, &Error) || XIQueryVersion(Connection, &Major, &Minor) != Success)
        return false;
    unsigned char Bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(Bits, XI_RawKeyPress);
    XISetMask(Bits, XI_RawKeyRelease);
    XIEventMask Mask { XIAllMasterDevices, int(sizeof(Bits)), Bits };
    XISelectEvents(Connection, DefaultRootWindow(Connection), &Mask, 1);
    XSync(Connection, False);
    return true;
}

// Waits until no key has gone down or up for Quiet, within Timeout.
bool WaitForQuietKeys(Display* Connection, std::chrono::milliseconds Quiet, std::chrono::seconds Timeout)
{
    const auto Deadline = TClock::now() + Timeout;
    auto LastKey = TClock::now();
    while (TClock::now() - LastKey < Quiet) {
        if (TClock::now() > Deadline)
            return false;
        while (XPending(Connection)) {
            XEvent Event;
            XNextEvent(Connection, &Event);
            if (Event.type == GenericEvent)
                LastKey = TClock::now();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

int main(int Argc, char** Argv)
{
    if (Argc != 5 && Argc != 6) {
        std::fprintf(stderr, "usage: ClickDriver FILE OFFSET MIN_GAP_MS MAX_GAP_MS [HOLD_MS] < CLICKS\n");
        return 2;
    }
    const std::string Path = Argv[1];
    const bool Watched = Path != "-";
    const long long Offset = std::atoll(Argv[2]);
    const int MinimumGap = std::atoi(Argv[3]);
    const int MaximumGap = std::atoi(Argv[4]);
    const bool Impatient = Argc == 6;
    const int Hold = Impatient ? std::atoi(Argv[5]) : 15;
    Display* Connection = XOpenDisplay(nullptr);
    if (!Connection) {
        std::fprintf(stderr, "ClickDriver: cannot open the display\n");
        return 2;
    }
    if (!Watched && !ListenToKeys(Connection)) {
        std::fprintf(stderr, "ClickDriver: the server has no XInput 2.1 to tell when the keys end\n");
        return 2;
    }
    std::mt19937 Random(12345);
    std::uniform_int_distribution<int> Gap(MinimumGap, MaximumGap);
    long long Planned = 0; // bytes beyond Offset that the clicks so far should have typed
    long long Expected = 0; // the same, less what stalled
    int X = 0, Y = 0;
    long long Bytes = 0;
    int Clicks = 0, Stalls = 0;
    while (std::cin >> X >> Y >> Bytes) {
        if (Watched && !WaitForSize(Path, Offset + Expected, std::chrono::seconds(2))) {
            ++Stalls;
            Expected = FileSize(Path) - Offset;
        }
        // Counted from now: the arrival just seen, or the release when it came first.
        std::this_thread::sleep_for(std::chrono::milliseconds(Gap(Random)));
        // As a hand clicks: the pointer is there first, and the button is held for a moment.
        // XTest moves the pointer when it reads the request but makes a button event only at
        // the server's next round of input, so a server busy with keymap changes would report
        // the button where the pointer went next: the patient driver waits for every step, as
        // a real mouse's events queue in order. The impatient one goes on whatever is busy.
        XTestFakeMotionEvent(Connection, -1, X, Y, CurrentTime);
        XTestFakeButtonEvent(Connection, 1, True, CurrentTime);
        if (Impatient && Hold > 0)
            XFlush(Connection);
        else if (!Impatient)
            WaitForButton(Connection, true);
        if (Hold > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(Hold));
        XTestFakeButtonEvent(Connection, 1, False, CurrentTime);
        if (Impatient)
            XFlush(Connection);
        else
            WaitForButton(Connection, false);
        Expected += Bytes;
        Planned += Bytes;
        ++Clicks;
    }
    const bool Arrived = Watched ? WaitForSize(Path, Offset + Planned, std::chrono::seconds(10))
                                 : WaitForQuietKeys(Connection, std::chrono::seconds(1), std::chrono::seconds(60));
    std::printf("clicks %d expected %lld arrived %lld stalls %d\n", Clicks, Planned, Watched ? FileSize(Path) - Offset : 0, Stalls);
    XCloseDisplay(Connection);
    return Arrived ? 0 : 1;
}
