#pragma once
// Which window system KIVO types through, chosen once at start before the toolkit: as KWin's
// input method when KWin started it as one (X11 for XWayland programs), natively on a wlroots
// desktop (a layer-shell keypad and a virtual keyboard), otherwise X11 (on a Wayland desktop
// through XWayland, whose programs only it reaches). --platform overrides the session.
#include "CommandLine.h"

#include "DesktopObserver.h"
#include "InputBackend.h"
#include "UserText.h"

#include <memory>
#include <optional>
#include <string>

class TDesktopObserver;
class TInputBackend;
class TWlrInputBackend;

struct TPlatformOffer {
    // A Wayland session: $WAYLAND_DISPLAY names a compositor that answered.
    bool WaylandSession = false;
    bool LayerShell = false;
    bool VirtualKeyboard = false;
    // Qt's Wayland platform plugin (Debian: qt6-wayland) is installed.
    bool QtWaylandPlugin = false;
};

struct TPlatformDecision {
    TPlatformName Platform = pnX11;
    // One line for stderr (without "kivo: "), empty when all is as asked. With Fatal, KIVO
    // ends: the user asked for what cannot work here.
    TUserText Message;
    bool Fatal = false;
};

TPlatformDecision DecidePlatform(std::optional<TPlatformName> Asked, const TPlatformOffer& Offer);

// The desktop's platform: what types the keys and what watches the desktop, as a pair. The
// native Wayland keypad watches its desktop itself (WaylandKeypad.h): it has no observer.
struct TPlatform {
    std::unique_ptr<TInputBackend> Backend;
    std::unique_ptr<TDesktopObserver> Observer;
};

// The one place that picks the platform: decides, prepares Qt for it (the platform plugin and
// its options) and opens the backend and its observer. Null backend, with ErrorMessage set,
// when none can be opened. What it tells the user besides goes through ReportToUser.
TPlatform OpenPlatform(std::optional<TPlatformName> Asked, TUserText& ErrorMessage);

// True in the program KWin starts as its input method (it hands over a connection in
// WAYLAND_SOCKET); asked before OpenPlatform, which consumes the connection.
bool StartedAsKWinInputMethod();

// The native Wayland backend when that was chosen; null on X11. Owned by the input layer.
TWlrInputBackend* NativeWaylandBackend();
