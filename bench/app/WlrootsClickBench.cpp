// Click to key for KIVO native on sway, beside the X11 rows of bench/app/run: run inside
// scripts/with-wayland sway. An XWayland xterm holds the focus; a virtual pointer of this
// program clicks a character key of KIVO's layer-shell keypad, and the time runs from just
// before the button release is sent to the key press it causes, seen as an XInput2 raw event
// on XWayland's root (KIVO types through its virtual keyboard; sway passes the key to XWayland).
// Prints one table row in bench/app/run's format (median and p90 over R rounds of C clicks).
//
//   WlrootsClickBench KIVO_PROGRAM [--rounds R] [--clicks C]
#include "virtual-pointer-v1-client.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

struct TPointer {
    wl_display* Display = nullptr;
    wl_seat* Seat = nullptr;
    zwlr_virtual_pointer_manager_v1* Manager = nullptr;
    zwlr_virtual_pointer_v1* Pointer = nullptr;

    static std::uint32_t Now()
    {
        return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now().time_since_epoch()).count());
    }
    void Move(unsigned X, unsigned Y)
    {
        zwlr_virtual_pointer_v1_motion_absolute(Pointer, Now(), X, Y, 1280, 800);
        zwlr_virtual_pointer_v1_frame(Pointer);
        wl_display_roundtrip(Display);
    }
    void Button(bool Down)
    {
        zwlr_virtual_pointer_v1_button(Pointer, Now(), BTN_LEFT, Down ? 1 : 0);
        zwlr_virtual_pointer_v1_frame(Pointer);
        wl_display_flush(Display);
    }
};

bool OpenPointer(TPointer& Pointer)
{
    Pointer.Display = wl_display_connect(nullptr);
    if (!Pointer.Display)
        return false;
    wl_registry* Registry = wl_display_get_registry(Pointer.Display);
    static const wl_registry_listener Listener = {
        .global =
            [](void* Data, wl_registry* Registry, std::uint32_t Name, const char* Interface, std::uint32_t) {
                auto& Pointer = *static_cast<TPointer*>(Data);
                if (std::strcmp(Interface, "wl_seat") == 0 && !Pointer.Seat)
                    Pointer.Seat = static_cast<wl_seat*>(wl_registry_bind(Registry, Name, &wl_seat_interface, 1));
                if (std::strcmp(Interface, "zwlr_virtual_pointer_manager_v1") == 0)
                    Pointer.Manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
                        wl_registry_bind(Registry, Name, &zwlr_virtual_pointer_manager_v1_interface, 1));
            },
        .global_remove = [](void*, wl_registry*, std::uint32_t) {},
    };
    wl_registry_add_listener(Registry, &Listener, &Pointer);
    wl_display_roundtrip(Pointer.Display);
    if (!Pointer.Manager)
        return false;
    Pointer.Pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(Pointer.Manager, Pointer.Seat);
    return wl_display_roundtrip(Pointer.Display) >= 0;
}

pid_t Start(const std::vector<std::string>& Command)
{
    const pid_t Child = fork();
    if (Child == 0) {
        std::vector<char*> Arguments;
        for (const std::string& Argument : Command)
            Arguments.push_back(const_cast<char*>(Argument.c_str()));
        Arguments.push_back(nullptr);
        execvp(Arguments[0], Arguments.data());
        _exit(127);
    }
    return Child;
}

void Stop(pid_t Child)
{
    kill(Child, SIGTERM);
    waitpid(Child, nullptr, 0);
}

double Percentile(std::vector<double> Values, double Fraction)
{
    if (Values.empty())
        return 0;
    std::sort(Values.begin(), Values.end());
    return Values[std::min(Values.size() - 1, size_t(Fraction * double(Values.size() - 1) + 0.5))];
}

} // namespace

int main(int Argc, char** Argv)
{
    if (Argc < 2) {
        std::fprintf(stderr, "usage: WlrootsClickBench KIVO_PROGRAM [--rounds R] [--clicks C]\n");
        return 2;
    }
    int Rounds = 3, Clicks = 50;
    for (int Index = 2; Index + 1 < Argc; Index += 2) {
        if (std::strcmp(Argv[Index], "--rounds") == 0)
            Rounds = std::atoi(Argv[Index + 1]);
        else if (std::strcmp(Argv[Index], "--clicks") == 0)
            Clicks = std::atoi(Argv[Index + 1]);
    }
    TPointer Pointer;
    Display* X = XOpenDisplay(nullptr);
    if (!OpenPointer(Pointer) || !X) {
        std::fprintf(stderr, "WlrootsClickBench: needs sway with XWayland (scripts/with-wayland sway)\n");
        return 2;
    }
    const pid_t Target = Start({ "xterm", "-T", "bench-target", "-e", "sh", "-c", "stty raw -echo; exec cat > /dev/null" });
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const pid_t Kivo = Start({ Argv[1], "--output=lumera", "--new-instance" });
    std::this_thread::sleep_for(std::chrono::seconds(3));

    XIEventMask Mask {};
    unsigned char Bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(Bits, XI_RawKeyPress);
    Mask.deviceid = XIAllMasterDevices;
    Mask.mask_len = sizeof Bits;
    Mask.mask = Bits;
    XISelectEvents(X, DefaultRootWindow(X), &Mask, 1);
    XSync(X, False);

    // The z key of the keypad at its default place on a 1280 by 800 output (the same key as the
    // X11 rows: bottom letter row, two keys in).
    const unsigned KeyX = 238, KeyY = 720;
    std::vector<double> Latencies;
    int Typed = 0;
    for (int Round = 0; Round < Rounds; ++Round) {
        for (int Click = 0; Click < Clicks; ++Click) {
            Pointer.Move(KeyX, KeyY + unsigned(Click % 2));
            Pointer.Button(true);
            wl_display_roundtrip(Pointer.Display);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            while (XPending(X)) {
                XEvent Stale;
                XNextEvent(X, &Stale);
            }
            const TClock::time_point Released = TClock::now();
            Pointer.Button(false);
            pollfd Readable { ConnectionNumber(X), POLLIN, 0 };
            bool Seen = false;
            while (!Seen && TClock::now() - Released < std::chrono::seconds(1)) {
                if (!XPending(X) && poll(&Readable, 1, 50) <= 0)
                    continue;
                XEvent Event;
                XNextEvent(X, &Event);
                if (Event.type == GenericEvent && XGetEventData(X, &Event.xcookie)) {
                    Seen = Event.xcookie.evtype == XI_RawKeyPress;
                    XFreeEventData(X, &Event.xcookie);
                }
            }
            if (Seen) {
                Latencies.push_back(std::chrono::duration<double, std::milli>(TClock::now() - Released).count());
                ++Typed;
            }
            wl_display_roundtrip(Pointer.Display);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
    }
    Stop(Kivo);
    Stop(Target);
    std::printf("| KIVO on sway (virtual keyboard, Lumera codes) | %.2f / %.2f | - | - | - | - | - | - | %d/%d |\n",
        Percentile(Latencies, 0.5), Percentile(Latencies, 0.9), Typed, Rounds * Clicks);
    return Typed == Rounds * Clicks ? 0 : 1;
}
