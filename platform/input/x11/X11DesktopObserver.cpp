#include "X11DesktopObserver.h"

#include "X11ErrorTrap.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <set>
#include <string_view>
#include <vector>

namespace {

class TX11DesktopObserver final : public TDesktopObserver {
public:
    TX11DesktopObserver(Display* Server, std::shared_ptr<TOwnKeys> OwnKeys)
        : Server(Server)
        , OwnKeys(std::move(OwnKeys))
    {
    }
    ~TX11DesktopObserver() override
    {
        if (Server)
            XCloseDisplay(Server);
    }
    bool Open(TUserText& ErrorMessage);

    bool SeesOutsideInput() const override { return Watching && !Broken; }
    int FileDescriptor() const override { return Server && !Broken ? ConnectionNumber(Server) : -1; }
    void ProcessPending() override;
    void JudgePressesUpTo(std::uint32_t Time) override;
    std::optional<TKeyRepeatSettings> KeyRepeat() override;

private:
    static void ConnectionBroke(Display* Server, void* Observer);
    Window ReadActiveWindow();
    void Foreign();
    void JudgeOldest(std::size_t Count);
    void RawEvent(int Type, const XIRawEvent& Raw);
    bool MovedSinceRead();

    Display* Server = nullptr;
    std::shared_ptr<TOwnKeys> OwnKeys;
    bool Watching = false;
    bool Broken = false;
    Window Root = 0;
    int XInputOpcode = 0;
    Atom ActiveWindowAtom = 0;
    Window ActiveWindow = 0;
    // The slave keyboards through which XTest types (one per master keyboard).
    std::set<int> XTestKeyboards;
    std::vector<std::uint32_t> UnjudgedPresses;
    unsigned long PressTime = 0;
    unsigned long LastMotionTime = 0;
    int MotionCount = 0;
    // Raw motions since the first button's press; -1 while it is up.
    int MotionsWhileHeld = -1;
};

void TX11DesktopObserver::ConnectionBroke(Display*, void* Observer)
{
    // Xlib would end the process here; the observer goes blind instead, and the backend (a
    // connection of its own) still gives its spare keys back at the end.
    auto* Self = static_cast<TX11DesktopObserver*>(Observer);
    if (!Self->Broken)
        ReportToUser({ QT_TRANSLATE_NOOP("kivo", "the connection that watches the desktop broke; marks are no longer composed"), {} });
    Self->Broken = true;
}

bool TX11DesktopObserver::Open(TUserText& ErrorMessage)
{
    XSetIOErrorExitHandler(Server, ConnectionBroke, this);
    Root = DefaultRootWindow(Server);
    TX11ErrorTrap Trap(Server, "watching the desktop");
    ActiveWindowAtom = XInternAtom(Server, "_NET_ACTIVE_WINDOW", False);
    XSelectInput(Server, Root, PropertyChangeMask);
    ActiveWindow = ReadActiveWindow();
    int Event = 0, Error = 0;
    // Raw events reach every client, whoever holds the pointer grab, from version 2.1 on.
    int Major = 2, Minor = 1;
    if (!XQueryExtension(Server, "XInputExtension", &XInputOpcode, &Event, &Error) || XIQueryVersion(Server, &Major, &Minor) != Success
        || (Major == 2 && Minor < 1)) {
        ErrorMessage = { QT_TRANSLATE_NOOP("kivo", "the X server has no XInput 2.1 extension"), {} };
        return !Trap.FailedReported();
    }
    int DeviceCount = 0;
    XIDeviceInfo* Devices = XIQueryDevice(Server, XIAllDevices, &DeviceCount);
    for (int Index = 0; Devices && Index < DeviceCount; ++Index) {
        const std::string_view Name = Devices[Index].name;
        if (Devices[Index].use == XISlaveKeyboard && Name.ends_with("XTEST keyboard"))
            XTestKeyboards.insert(Devices[Index].deviceid);
    }
    if (Devices)
        XIFreeDeviceInfo(Devices);
    unsigned char Mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(Mask, XI_RawKeyPress);
    XISetMask(Mask, XI_RawButtonPress);
    XISetMask(Mask, XI_RawButtonRelease);
    XISetMask(Mask, XI_RawMotion);
    XIEventMask Selection {XIAllMasterDevices, static_cast<int>(sizeof Mask), Mask};
    XISelectEvents(Server, Root, &Selection, 1);
    Watching = !Trap.FailedReported();
    if (!Watching)
        ErrorMessage = { QT_TRANSLATE_NOOP("kivo", "the X server refused to report raw input events"), {} };
    return Watching;
}

Window TX11DesktopObserver::ReadActiveWindow()
{
    Atom Type = 0;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    Window Active = 0;
    if (XGetWindowProperty(Server, Root, ActiveWindowAtom, 0, 1, False, XA_WINDOW, &Type, &Format, &Count, &After, &Data) == Success
        && Data && Type == XA_WINDOW && Format == 32 && Count == 1)
        Active = static_cast<Window>(reinterpret_cast<unsigned long*>(Data)[0]);
    if (Data)
        XFree(Data);
    return Active;
}

void TX11DesktopObserver::Foreign()
{
    if (OnForeignActivity)
        OnForeignActivity();
}

void TX11DesktopObserver::ProcessPending()
{
    if (Broken)
        return;
    TX11ErrorTrap Trap(Server, "reading the desktop's events");
    while (!Broken && XPending(Server) > 0) {
        XEvent Event;
        XNextEvent(Server, &Event);
        if (Event.type == PropertyNotify && Event.xproperty.atom == ActiveWindowAtom) {
            const Window Active = ReadActiveWindow();
            if (Active != ActiveWindow) {
                ActiveWindow = Active;
                Foreign();
            }
            continue;
        }
        if (Event.type != GenericEvent || Event.xcookie.extension != XInputOpcode || !XGetEventData(Server, &Event.xcookie))
            continue;
        const XIRawEvent Raw = *static_cast<const XIRawEvent*>(Event.xcookie.data);
        const int Type = Event.xcookie.evtype;
        XFreeEventData(Server, &Event.xcookie);
        RawEvent(Type, Raw);
    }
}

void TX11DesktopObserver::RawEvent(int Type, const XIRawEvent& Raw)
{
    switch (Type) {
    case XI_RawKeyPress:
        if (!XTestKeyboards.contains(Raw.sourceid) || !OwnKeys || !OwnKeys->Returned())
            Foreign();
        return;
    case XI_RawMotion:
        // A motion in the same millisecond as an earlier one cannot be told apart from it by its
        // time; the count lets the receiver see that there were more.
        if (MotionCount > 0 && Raw.time == LastMotionTime) {
            ++MotionCount;
        } else {
            LastMotionTime = Raw.time;
            MotionCount = 1;
        }
        if (MotionsWhileHeld >= 0)
            ++MotionsWhileHeld;
        return;
    case XI_RawButtonPress:
        if (Raw.detail == Button1) {
            PressTime = Raw.time;
            MotionsWhileHeld = 0;
        }
        // Buttons 4 to 7 are the wheel: scrolling moves no cursor.
        if (Raw.detail >= 1 && Raw.detail <= 3) {
            UnjudgedPresses.push_back(static_cast<std::uint32_t>(Raw.time));
            // Where nothing asks for a judgement (KIVO typing font codes), the oldest presses
            // are judged here: KIVO's windows have long seen theirs.
            if (UnjudgedPresses.size() > 64)
                JudgeOldest(32);
        }
        return;
    case XI_RawButtonRelease: {
        if (Raw.detail != Button1)
            return;
        const bool Moved = MotionsWhileHeld != 0;
        MotionsWhileHeld = -1;
        if (!OnPointerRelease)
            return;
        TPointerRelease Release {PressTime, LastMotionTime, MotionCount, Raw.time, Moved};
        Window RootBelow = None, ChildBelow = None;
        int WindowX = 0, WindowY = 0;
        unsigned int Buttons = 0;
        Release.PositionKnown = XQueryPointer(Server, Root, &RootBelow, &ChildBelow, &Release.RootX, &Release.RootY, &WindowX, &WindowY, &Buttons);
        // The server sends every event before the reply that it made before answering: a raw
        // motion or press queued here came between the release and the position read.
        Release.PositionIsAtRelease = Release.PositionKnown && !MovedSinceRead();
        OnPointerRelease(Release);
        return;
    }
    default: return;
    }
}

bool TX11DesktopObserver::MovedSinceRead()
{
    struct TScan {
        int Opcode = 0;
        bool Moved = false;
    } Scan {XInputOpcode};
    // Looks through what is queued without taking anything out.
    XEvent Unused;
    XCheckIfEvent(Server, &Unused, [](Display*, XEvent* Event, XPointer Argument) -> Bool {
        auto& Scan = *reinterpret_cast<TScan*>(Argument);
        if (Event->type == GenericEvent && Event->xcookie.extension == Scan.Opcode
            && (Event->xcookie.evtype == XI_RawMotion || Event->xcookie.evtype == XI_RawButtonPress))
            Scan.Moved = true;
        return False;
    }, reinterpret_cast<XPointer>(&Scan));
    return Scan.Moved;
}

void TX11DesktopObserver::JudgeOldest(std::size_t Count)
{
    const bool AnyForeign = std::any_of(UnjudgedPresses.begin(), UnjudgedPresses.begin() + long(Count),
        [this](std::uint32_t Time) { return !IsOwnPress || !IsOwnPress(Time); });
    UnjudgedPresses.erase(UnjudgedPresses.begin(), UnjudgedPresses.begin() + long(Count));
    if (AnyForeign)
        Foreign();
}

void TX11DesktopObserver::JudgePressesUpTo(std::uint32_t Time)
{
    ProcessPending();
    // Server time wraps after 49 days: compare by difference.
    const auto Judged = std::stable_partition(UnjudgedPresses.begin(), UnjudgedPresses.end(),
        [Time](std::uint32_t Each) { return static_cast<std::int32_t>(Each - Time) > 0; });
    const bool AnyForeign = std::any_of(Judged, UnjudgedPresses.end(), [this](std::uint32_t Each) { return !IsOwnPress || !IsOwnPress(Each); });
    UnjudgedPresses.erase(Judged, UnjudgedPresses.end());
    if (AnyForeign)
        Foreign();
}

std::optional<TKeyRepeatSettings> TX11DesktopObserver::KeyRepeat()
{
    if (!Server || Broken)
        return std::nullopt;
    TX11ErrorTrap Trap(Server, "reading the key repeat settings");
    XKeyboardState Keyboard {};
    XGetKeyboardControl(Server, &Keyboard);
    unsigned int Delay = 0, Interval = 0;
    const bool Known = Keyboard.global_auto_repeat == AutoRepeatModeOn && XkbGetAutoRepeatRate(Server, XkbUseCoreKbd, &Delay, &Interval) && Interval > 0;
    if (Trap.FailedReported() || Broken || !Known)
        return std::nullopt;
    return TKeyRepeatSettings {static_cast<int>(Delay), static_cast<int>(Interval)};
}

} // namespace

std::unique_ptr<TDesktopObserver> CreateX11DesktopObserver(std::shared_ptr<TOwnKeys> OwnKeys, TUserText& ErrorMessage)
{
    Display* Server = XOpenDisplay(nullptr);
    if (!Server)
        ErrorMessage = { QT_TRANSLATE_NOOP("kivo", "cannot open the display to watch the desktop"), {} };
    auto Observer = std::make_unique<TX11DesktopObserver>(Server, std::move(OwnKeys));
    if (Server)
        Observer->Open(ErrorMessage);
    return Observer;
}
