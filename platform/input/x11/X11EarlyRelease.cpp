#include "X11EarlyRelease.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

struct TX11EarlyRelease::TConnection {
    Display* Connection = nullptr;
    int XiOpcode = 0;

    ~TConnection()
    {
        if (Connection)
            XCloseDisplay(Connection);
    }
};

std::unique_ptr<TX11EarlyRelease> TX11EarlyRelease::Open()
{
    auto Server = std::make_unique<TConnection>();
    Server->Connection = XOpenDisplay(nullptr);
    if (!Server->Connection)
        return nullptr;
    int EventBase = 0, ErrorBase = 0;
    if (!XQueryExtension(Server->Connection, "XInputExtension", &Server->XiOpcode, &EventBase, &ErrorBase))
        return nullptr;
    // Raw events reach every client, whoever holds the pointer grab, from version 2.1 on.
    int Major = 2, Minor = 1;
    if (XIQueryVersion(Server->Connection, &Major, &Minor) != Success || (Major == 2 && Minor < 1))
        return nullptr;
    unsigned char MaskBits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(MaskBits, XI_RawButtonPress);
    XISetMask(MaskBits, XI_RawButtonRelease);
    XISetMask(MaskBits, XI_RawMotion);
    XIEventMask Mask { XIAllMasterDevices, sizeof MaskBits, MaskBits };
    XISelectEvents(Server->Connection, DefaultRootWindow(Server->Connection), &Mask, 1);
    XSync(Server->Connection, False);
    return std::unique_ptr<TX11EarlyRelease>(new TX11EarlyRelease(std::move(Server)));
}

TX11EarlyRelease::TX11EarlyRelease(std::unique_ptr<TConnection> Connection)
    : Server(std::move(Connection))
{
}

TX11EarlyRelease::~TX11EarlyRelease() = default;

int TX11EarlyRelease::FileDescriptor() const { return ConnectionNumber(Server->Connection); }

void TX11EarlyRelease::ReadEvents()
{
    Display* Connection = Server->Connection;
    while (XPending(Connection)) {
        XEvent Event;
        XNextEvent(Connection, &Event);
        XGenericEventCookie& Cookie = Event.xcookie;
        if (Cookie.type != GenericEvent || Cookie.extension != Server->XiOpcode || !XGetEventData(Connection, &Cookie))
            continue;
        const auto* Raw = static_cast<const XIRawEvent*>(Cookie.data);
        if (Cookie.evtype == XI_RawMotion) {
            // A motion in the same millisecond as an earlier one cannot be told apart from it by
            // its time; the count lets the receiver see that there were more.
            if (MotionCount > 0 && Raw->time == LastMotionTime) {
                ++MotionCount;
            } else {
                LastMotionTime = Raw->time;
                MotionCount = 1;
            }
        }
        if (Cookie.evtype == XI_RawButtonPress && Raw->detail == Button1)
            PressTime = Raw->time;
        const bool PrimaryRelease = Cookie.evtype == XI_RawButtonRelease && Raw->detail == Button1;
        TPointerRelease Release { PressTime, LastMotionTime, MotionCount };
        XFreeEventData(Connection, &Cookie);
        if (!PrimaryRelease || !OnRelease)
            continue;
        Window RootBelow = None, ChildBelow = None;
        int WindowX = 0, WindowY = 0;
        unsigned int Buttons = 0;
        Release.PositionKnown = XQueryPointer(Connection, DefaultRootWindow(Connection), &RootBelow, &ChildBelow,
            &Release.RootX, &Release.RootY, &WindowX, &WindowY, &Buttons);
        OnRelease(Release);
    }
}
