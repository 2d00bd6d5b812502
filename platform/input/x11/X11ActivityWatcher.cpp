#include "X11ActivityWatcher.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>

struct TX11ActivityWatcher::TConnection {
    Display* Server = nullptr;
    Window Root = 0;
    int XInputOpcode = 0;
    Atom ActiveWindowAtom = 0;
    Window ActiveWindow = 0;
    // The slave keyboards through which XTest types (one per master keyboard).
    std::set<int> XTestKeyboards;

    ~TConnection()
    {
        if (Server)
            XCloseDisplay(Server);
    }

    Window ReadActiveWindow() const
    {
        Atom Type = 0;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Data = nullptr;
        Window Active = 0;
        if (XGetWindowProperty(Server, Root, ActiveWindowAtom, 0, 1, False, XA_WINDOW, &Type, &Format, &Count, &After, &Data)
                == Success
            && Data && Type == XA_WINDOW && Format == 32 && Count == 1)
            Active = static_cast<Window>(reinterpret_cast<unsigned long*>(Data)[0]);
        if (Data)
            XFree(Data);
        return Active;
    }
};

std::unique_ptr<TX11ActivityWatcher> TX11ActivityWatcher::Create(std::string& ErrorMessage)
{
    auto Connection = std::make_unique<TConnection>();
    Connection->Server = XOpenDisplay(nullptr);
    if (!Connection->Server) {
        ErrorMessage = "cannot open the display to watch for outside input";
        return nullptr;
    }
    Display* Server = Connection->Server;
    int Event = 0, Error = 0;
    int Major = 2, Minor = 0;
    if (!XQueryExtension(Server, "XInputExtension", &Connection->XInputOpcode, &Event, &Error)
        || XIQueryVersion(Server, &Major, &Minor) != Success) {
        ErrorMessage = "the X server has no XInput 2 extension";
        return nullptr;
    }
    Connection->Root = DefaultRootWindow(Server);

    int DeviceCount = 0;
    XIDeviceInfo* Devices = XIQueryDevice(Server, XIAllDevices, &DeviceCount);
    for (int Index = 0; Index < DeviceCount; ++Index) {
        const std::string_view Name = Devices[Index].name;
        if (Devices[Index].use == XISlaveKeyboard && Name.ends_with("XTEST keyboard"))
            Connection->XTestKeyboards.insert(Devices[Index].deviceid);
    }
    XIFreeDeviceInfo(Devices);

    // Raw events reach every client that asks on the root window, whoever holds a grab.
    unsigned char Mask[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(Mask, XI_RawKeyPress);
    XISetMask(Mask, XI_RawButtonPress);
    XIEventMask Selection { XIAllMasterDevices, static_cast<int>(sizeof Mask), Mask };
    XISelectEvents(Server, Connection->Root, &Selection, 1);

    Connection->ActiveWindowAtom = XInternAtom(Server, "_NET_ACTIVE_WINDOW", False);
    XSelectInput(Server, Connection->Root, PropertyChangeMask);
    Connection->ActiveWindow = Connection->ReadActiveWindow();
    XFlush(Server);
    return std::unique_ptr<TX11ActivityWatcher>(new TX11ActivityWatcher(std::move(Connection)));
}

TX11ActivityWatcher::TX11ActivityWatcher(std::unique_ptr<TConnection> Connection)
    : Connection(std::move(Connection))
{
}

TX11ActivityWatcher::~TX11ActivityWatcher() = default;

int TX11ActivityWatcher::FileDescriptor() const { return ConnectionNumber(Connection->Server); }

void TX11ActivityWatcher::ProcessPending() { Read(); }

void TX11ActivityWatcher::ClaimOwnKeys()
{
    OwnKeysUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(OwnKeysMilliseconds);
    XSync(Connection->Server, False);
    Read();
}

void TX11ActivityWatcher::Foreign()
{
    if (OnForeignActivity)
        OnForeignActivity();
}

void TX11ActivityWatcher::Read()
{
    Display* Server = Connection->Server;
    while (XPending(Server) > 0) {
        XEvent Event;
        XNextEvent(Server, &Event);
        if (Event.type == PropertyNotify && Event.xproperty.atom == Connection->ActiveWindowAtom) {
            const Window Active = Connection->ReadActiveWindow();
            if (Active != Connection->ActiveWindow) {
                Connection->ActiveWindow = Active;
                Foreign();
            }
            continue;
        }
        if (Event.type != GenericEvent || Event.xcookie.extension != Connection->XInputOpcode
            || !XGetEventData(Server, &Event.xcookie))
            continue;
        const auto* Raw = static_cast<const XIRawEvent*>(Event.xcookie.data);
        if (Event.xcookie.evtype == XI_RawKeyPress) {
            const bool Own = Connection->XTestKeyboards.contains(Raw->sourceid) && std::chrono::steady_clock::now() <= OwnKeysUntil;
            if (!Own)
                Foreign();
        } else if (Event.xcookie.evtype == XI_RawButtonPress && Raw->detail >= 1 && Raw->detail <= 3) {
            // Buttons 4 to 7 are the wheel: scrolling moves no cursor.
            UnjudgedPresses.push_back(static_cast<std::uint32_t>(Raw->time));
            // Where nothing asks for a judgement (KIVO typing font codes), the oldest presses
            // are judged here: KIVO's windows have long seen theirs.
            if (UnjudgedPresses.size() > 64)
                JudgeOldest(32);
        }
        XFreeEventData(Server, &Event.xcookie);
    }
}

void TX11ActivityWatcher::JudgeOldest(size_t Count)
{
    const bool AnyForeign = std::any_of(UnjudgedPresses.begin(), UnjudgedPresses.begin() + Count,
        [this](std::uint32_t Time) { return !IsOwnPress || !IsOwnPress(Time); });
    UnjudgedPresses.erase(UnjudgedPresses.begin(), UnjudgedPresses.begin() + Count);
    if (AnyForeign)
        Foreign();
}

void TX11ActivityWatcher::JudgePressesUpTo(std::uint32_t ServerTime)
{
    Read();
    // Server time wraps after 49 days: compare by difference.
    const auto Judged = std::stable_partition(UnjudgedPresses.begin(), UnjudgedPresses.end(),
        [ServerTime](std::uint32_t Time) { return static_cast<std::int32_t>(Time - ServerTime) > 0; });
    const bool AnyForeign = std::any_of(Judged, UnjudgedPresses.end(),
        [this](std::uint32_t Time) { return !IsOwnPress || !IsOwnPress(Time); });
    UnjudgedPresses.erase(Judged, UnjudgedPresses.end());
    if (AnyForeign)
        Foreign();
}
