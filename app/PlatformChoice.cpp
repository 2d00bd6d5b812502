#include "PlatformChoice.h"

#include "IBusInputBackend.h"
#include "KWinInputMethodBackend.h"
#include "WlrInputBackend.h"
#include "X11DesktopObserver.h"
#include "X11InputBackend.h"

#include <QCoreApplication>
#include <QTimer>

#include <QDir>
#include <QLibraryInfo>

#include <cstdlib>

namespace {

TWlrInputBackend* WaylandBackend = nullptr;

bool QtWaylandPluginInstalled()
{
    const QDir Platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !Platforms.entryList({ QStringLiteral("libqwayland-*.so") }, QDir::Files).isEmpty();
}

// What is missing for native typing, as the user would look it up; null when nothing is.
const char* Missing(const TPlatformOffer& Offer)
{
    if (!Offer.LayerShell && !Offer.VirtualKeyboard)
        return QT_TRANSLATE_NOOP("kivo", "this Wayland desktop offers no layer shell (zwlr_layer_shell_v1) and no virtual keyboard (zwp_virtual_keyboard_manager_v1)");
    if (!Offer.LayerShell)
        return QT_TRANSLATE_NOOP("kivo", "this Wayland desktop offers no layer shell (zwlr_layer_shell_v1)");
    if (!Offer.VirtualKeyboard)
        return QT_TRANSLATE_NOOP("kivo", "this Wayland desktop offers no virtual keyboard (zwp_virtual_keyboard_manager_v1)");
    if (!Offer.QtWaylandPlugin)
        return QT_TRANSLATE_NOOP("kivo", "Qt's Wayland platform plugin is not installed (Debian: qt6-wayland)");
    return nullptr;
}

// Where native typing cannot be had, KIVO still types into the desktop's X11 programs.
TUserText ThroughXWayland(const std::string& Why)
{
    return { QT_TRANSLATE_NOOP("kivo", "%1; typing through X11 (XWayland), into X11 programs only"), { Why } };
}

void PrepareQt(TPlatformName Platform)
{
    if (Platform == pnWayland) {
        setenv("QT_QPA_PLATFORM", "wayland", 1);
        // The keypad's window gets no shell surface from Qt: it is given the layer role instead.
        setenv("QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT", "1", 1);
        // Qt would put every top-level window at the screen's corner in its own coordinates; the
        // keypad's are where its layer surface really is, so that tooltips and menus open by it.
        setenv("QT_WAYLAND_DISABLE_FIXED_POSITIONS", "1", 1);
        return;
    }
    // The windows go to the X server the keys go to, and take its focus policy; a desktop
    // that asks Qt programs for Wayland in general does not mean KIVO's X11 windows.
    const char* Asked = std::getenv("QT_QPA_PLATFORM");
    if (!Asked || QByteArray(Asked).startsWith("wayland"))
        setenv("QT_QPA_PLATFORM", "xcb", 1);
}

// The X11 backend, wrapped by what types where X11 does not reach, and its observer.
TPlatform OpenX11(TUserText& ErrorMessage, const std::function<std::unique_ptr<TInputBackend>(std::unique_ptr<TInputBackend>)>& Wrap)
{
    TPlatform Platform;
    PrepareQt(pnX11);
    auto OwnKeys = std::make_shared<TOwnKeys>();
    // Keys that must wait are sent later from the event loop, never by blocking it.
    std::unique_ptr<TInputBackend> X11 = CreateX11InputBackend(ErrorMessage, OwnKeys, [](int Milliseconds, std::function<void()> Work) {
        QTimer::singleShot(Milliseconds, Qt::PreciseTimer, QCoreApplication::instance(), std::move(Work));
    });
    if (!X11)
        return Platform;
    Platform.Backend = Wrap(std::move(X11));
    TUserText ObserverError;
    Platform.Observer = CreateX11DesktopObserver(OwnKeys, ObserverError);
    if (!ObserverError.Empty())
        ReportToUser(ObserverError);
    return Platform;
}

} // namespace

TPlatformDecision DecidePlatform(std::optional<TPlatformName> Asked, const TPlatformOffer& Offer)
{
    if (Asked == pnX11)
        return { pnX11, {}, false };
    if (!Offer.WaylandSession) {
        if (Asked == pnWayland)
            return { pnX11, { QT_TRANSLATE_NOOP("kivo", "--platform=wayland: no Wayland compositor answers at WAYLAND_DISPLAY"), {} }, true };
        return { pnX11, {}, false };
    }
    const char* Lacking = Missing(Offer);
    if (!Lacking)
        return { pnWayland, {}, false };
    if (Asked == pnWayland)
        return { pnX11, { "--platform=wayland: %1", { Lacking } }, true };
    return { pnX11, ThroughXWayland(Lacking), false };
}

TPlatform OpenPlatform(std::optional<TPlatformName> Asked, TUserText& ErrorMessage)
{
    TPlatform Platform;
    // KWin's input method: started by KWin with a connection of KWin's own. First of all,
    // since any other Wayland connection made before would take that one instead.
    std::unique_ptr<TKWinInputMethodBackend> InputMethod;
    if (Asked != pnWayland && StartedAsKWinInputMethod()) {
        TUserText Why;
        InputMethod = TKWinInputMethodBackend::Connect(Why);
        if (!InputMethod)
            ReportToUser(Why);
    }
    if (InputMethod) {
        // The keypad stays an XWayland window, which KWin never focuses (the program KWin
        // starts is asked for Wayland; its DISPLAY is KWin's XWayland). X11 programs get the
        // keys through X11.
        return OpenX11(ErrorMessage, [&](std::unique_ptr<TInputBackend> X11) -> std::unique_ptr<TInputBackend> {
            InputMethod->Wrap(std::move(X11), [](int Milliseconds, std::function<void()> Work) {
                QTimer::singleShot(Milliseconds, Qt::PreciseTimer, QCoreApplication::instance(), std::move(Work));
            });
            return std::move(InputMethod);
        });
    }
    TPlatformOffer Offer;
    const QByteArray WaylandDisplay = qgetenv("WAYLAND_DISPLAY");
    if (Asked != pnX11 && (!WaylandDisplay.isEmpty() || Asked == pnWayland)) {
        const TWlrInputBackend::TOffer Offered = TWlrInputBackend::Probe();
        Offer = { Offered.Connected, Offered.LayerShell, Offered.VirtualKeyboard, QtWaylandPluginInstalled() };
    }
    TPlatformDecision Decision = DecidePlatform(Asked, Offer);
    if (Decision.Fatal) {
        ErrorMessage = Decision.Message;
        return Platform;
    }
    if (Decision.Platform == pnWayland) {
        TUserText WaylandError;
        if (std::unique_ptr<TWlrInputBackend> Backend = TWlrInputBackend::Create(WaylandError)) {
            PrepareQt(pnWayland);
            WaylandBackend = Backend.get();
            Platform.Backend = std::move(Backend);
            return Platform;
        }
        if (Asked == pnWayland) {
            ErrorMessage = WaylandError;
            return Platform;
        }
        // As a detail only a wording without details of its own is translated.
        Decision.Message = ThroughXWayland(WaylandError.Details.empty() ? WaylandError.Wording : WaylandError.English());
    }
    if (!Decision.Message.Empty())
        ReportToUser(Decision.Message);
    // Where KIVO's IBus engine is the input source, it types into the focused program instead.
    return OpenX11(ErrorMessage, [](std::unique_ptr<TInputBackend> X11) -> std::unique_ptr<TInputBackend> {
        return TIBusInputBackend::Create(std::move(X11));
    });
}

TWlrInputBackend* NativeWaylandBackend() { return WaylandBackend; }

bool StartedAsKWinInputMethod() { return !qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"); }
