#pragma once
// X errors on KIVO's Xlib connections, trapped per operation. Inside a trap, errors are
// collected for that operation, which decides what a failure means (a window that went away
// between finding and raising it is no window; a spare that could not be mapped is not used).
// An error that arrives outside every trap, e.g. one of an earlier request without a reply, is
// reported on stderr with its request: never dropped silently, and never fatal as Xlib's
// default handler would make it. Every outermost trap puts the handler (one for every Xlib
// connection of the process) back in place, since the toolkit installs its own at start.
#include <X11/Xlib.h>

class TX11ErrorTrap {
public:
    TX11ErrorTrap(Display* Connection, const char* Operation);
    ~TX11ErrorTrap();
    TX11ErrorTrap(const TX11ErrorTrap&) = delete;
    TX11ErrorTrap& operator=(const TX11ErrorTrap&) = delete;

    // Waits until the server has handled every request so far; true when one of this
    // operation's requests failed.
    bool Failed();
    // Like Failed, and a failure is reported on stderr, naming the operation.
    bool FailedReported();
    int ErrorCode() const { return FirstError; }

private:
    friend int HandleX11Error(Display*, XErrorEvent*);
    Display* Connection = nullptr;
    const char* Operation = "";
    TX11ErrorTrap* Outer = nullptr;
    int FirstError = 0;
    int Count = 0;
};
