#include "X11AutoRepeat.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <memory>

namespace {

struct TDisplayCloser {
    void operator()(Display* Connection) const { XCloseDisplay(Connection); }
};

Display* RepeatConnection()
{
    // Opened once; a display that could not be opened is not tried again.
    static const std::unique_ptr<Display, TDisplayCloser> Connection(XOpenDisplay(nullptr));
    return Connection.get();
}

} // namespace

std::optional<TKeyRepeatSettings> ReadKeyRepeatSettings()
{
    Display* Connection = RepeatConnection();
    if (!Connection)
        return std::nullopt;
    XKeyboardState Keyboard {};
    XGetKeyboardControl(Connection, &Keyboard);
    if (Keyboard.global_auto_repeat != AutoRepeatModeOn)
        return std::nullopt;
    unsigned int Delay = 0;
    unsigned int Interval = 0;
    if (!XkbGetAutoRepeatRate(Connection, XkbUseCoreKbd, &Delay, &Interval) || Interval == 0)
        return std::nullopt;
    return TKeyRepeatSettings { static_cast<int>(Delay), static_cast<int>(Interval) };
}
