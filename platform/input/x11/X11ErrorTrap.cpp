#include "X11ErrorTrap.h"
#include "UserText.h"

#include <cstdio>

namespace {
TX11ErrorTrap* Innermost = nullptr;

void Report(Display* Connection, const XErrorEvent& Error, const char* Operation)
{
    char Text[128] = {};
    XGetErrorText(Connection, Error.error_code, Text, sizeof Text);
    char Request[64] = {};
    std::snprintf(Request, sizeof Request, "%d.%d, resource 0x%lx", int(Error.request_code), int(Error.minor_code), Error.resourceid);
    ReportToUser({ QT_TRANSLATE_NOOP("kivo", "X error in %1: %2 (request %3)"), { Operation, Text, Request } });
}
} // namespace

int HandleX11Error(Display* Connection, XErrorEvent* Error)
{
    for (TX11ErrorTrap* Trap = Innermost; Trap; Trap = Trap->Outer)
        if (Trap->Connection == Connection) {
            if (!Trap->Count++)
                Trap->FirstError = Error->error_code;
            return 0;
        }
    // Xlib's own handler would end the process, spare keys and all.
    Report(Connection, *Error, "an earlier request");
    return 0;
}

TX11ErrorTrap::TX11ErrorTrap(Display* Connection, const char* Operation)
    : Connection(Connection)
    , Operation(Operation)
    , Outer(Innermost)
{
    // The toolkit replaces the process's handler with its own when it opens its display, after
    // KIVO's connections are open: each operation puts KIVO's back in place. (The toolkit's
    // only reports, as KIVO's does for errors outside a trap.)
    if (!Innermost)
        XSetErrorHandler(HandleX11Error);
    Innermost = this;
}

TX11ErrorTrap::~TX11ErrorTrap() { Innermost = Outer; }

bool TX11ErrorTrap::Failed()
{
    XSync(Connection, False);
    return Count > 0;
}

bool TX11ErrorTrap::FailedReported()
{
    if (!Failed())
        return false;
    char Text[128] = {};
    XGetErrorText(Connection, FirstError, Text, sizeof Text);
    ReportToUser({ QT_TRANSLATE_NOOP("kivo", "X error in %1: %2"), { Operation, Text } });
    return true;
}
