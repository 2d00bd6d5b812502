#include "WlrLayerSurface.h"

#include "wlr-layer-shell-unstable-v1-client.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <qpa/qplatformwindow.h>

#include <wayland-client.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Our objects on Qt's connection live on an event queue of their own: Qt dispatches its own
// queue on its own schedule, and ours is dispatched here, whenever the event loop is about to
// wait, and on demand while a role is being given.
struct TLayerShell {
    wl_display* Display = nullptr;
    wl_event_queue* Queue = nullptr;
    wl_registry* Registry = nullptr;
    zwlr_layer_shell_v1* Shell = nullptr;

    static TLayerShell* Get()
    {
        static TLayerShell* Instance = Open();
        return Instance;
    }

    void DispatchPending() const { wl_display_dispatch_queue_pending(Display, Queue); }

private:
    static TLayerShell* Open()
    {
        QPlatformNativeInterface* Native = QGuiApplication::platformNativeInterface();
        auto* Display = Native ? static_cast<wl_display*>(Native->nativeResourceForIntegration("wl_display")) : nullptr;
        if (!Display)
            return nullptr;
        auto* Shell = new TLayerShell;
        Shell->Display = Display;
        Shell->Queue = wl_display_create_queue(Display);
        auto* Wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(Display));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(Wrapper), Shell->Queue);
        Shell->Registry = wl_display_get_registry(Wrapper);
        wl_proxy_wrapper_destroy(Wrapper);
        static const wl_registry_listener Listener = {
            .global =
                [](void* Data, wl_registry* Registry, std::uint32_t Name, const char* Interface, std::uint32_t Version) {
                    auto* Shell = static_cast<TLayerShell*>(Data);
                    if (std::strcmp(Interface, zwlr_layer_shell_v1_interface.name) == 0 && !Shell->Shell)
                        Shell->Shell = static_cast<zwlr_layer_shell_v1*>(
                            wl_registry_bind(Registry, Name, &zwlr_layer_shell_v1_interface, std::min<std::uint32_t>(Version, 4)));
                },
            .global_remove = [](void*, wl_registry*, std::uint32_t) {},
        };
        wl_registry_add_listener(Shell->Registry, &Listener, Shell);
        wl_display_roundtrip_queue(Display, Shell->Queue);
        QObject::connect(QAbstractEventDispatcher::instance(qApp->thread()), &QAbstractEventDispatcher::aboutToBlock, qApp,
            [Shell] { Shell->DispatchPending(); });
        return Shell;
    }
};

const zwlr_layer_surface_v1_listener RoleListener = {
    .configure =
        [](void* Data, zwlr_layer_surface_v1*, std::uint32_t Serial, std::uint32_t Width, std::uint32_t Height) {
            static_cast<TWlrLayerSurface*>(Data)->Configure(Serial, Width, Height);
        },
    .closed = [](void* Data, zwlr_layer_surface_v1*) { static_cast<TWlrLayerSurface*>(Data)->Closed(); },
};

} // namespace

std::unique_ptr<TWlrLayerSurface> TWlrLayerSurface::Create(QWindow* Window, TLayer Layer, const TPlacement& Placement)
{
    const TLayerShell* Shell = TLayerShell::Get();
    if (!Shell || !Shell->Shell) {
        std::fprintf(stderr, "kivo: %s\n", qPrintable(QCoreApplication::translate("kivo", "the Wayland compositor offers Qt no layer shell (zwlr_layer_shell_v1)")));
        return nullptr;
    }
    return std::unique_ptr<TWlrLayerSurface>(new TWlrLayerSurface(Window, Layer, Placement));
}

TWlrLayerSurface::TWlrLayerSurface(QWindow* Window, TLayer Layer, const TPlacement& Placement)
    : Window(Window)
    , Layer(Layer)
    , Current(Placement)
{
    Window->installEventFilter(this);
    WatchPlatformWindow();
    Attach();
}

TWlrLayerSurface::~TWlrLayerSurface() { Detach(); }

void TWlrLayerSurface::WatchPlatformWindow()
{
    // The platform window is a QObject of Qt's Wayland plugin; a new one comes with each
    // re-creation of the QWindow.
    auto* Platform = Window && Window->handle() ? dynamic_cast<QObject*>(Window->handle()) : nullptr;
    if (Platform == WatchedPlatformWindow)
        return;
    WatchedPlatformWindow = Platform;
    if (!Platform)
        return;
    connect(Platform, SIGNAL(wlSurfaceCreated()), this, SLOT(SurfaceCreated()), Qt::DirectConnection);
    connect(Platform, SIGNAL(wlSurfaceDestroyed()), this, SLOT(SurfaceDestroyed()), Qt::DirectConnection);
    connect(Platform, &QObject::destroyed, this, [this, Platform] {
        if (WatchedPlatformWindow == Platform)
            WatchedPlatformWindow = nullptr;
    });
}

bool TWlrLayerSurface::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == Window && Event->type() == QEvent::PlatformSurface) {
        if (static_cast<QPlatformSurfaceEvent*>(Event)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated) {
            WatchPlatformWindow();
            Attach();
        } else {
            Detach();
        }
    }
    return QObject::eventFilter(Watched, Event);
}

void TWlrLayerSurface::SurfaceCreated() { Attach(); }

void TWlrLayerSurface::SurfaceDestroyed() { Detach(); }

void TWlrLayerSurface::Attach()
{
    const TLayerShell* Shell = TLayerShell::Get();
    if (!Window || !Shell || !Shell->Shell)
        return;
    auto* NewSurface = static_cast<wl_surface*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow("surface", Window));
    if (!NewSurface || (NewSurface == Surface && Role))
        return;
    Detach();
    Surface = NewSurface;
    Role = zwlr_layer_shell_v1_get_layer_surface(Shell->Shell, Surface, nullptr, Layer, "kivo");
    zwlr_layer_surface_v1_add_listener(Role, &RoleListener, this);
    zwlr_layer_surface_v1_set_keyboard_interactivity(Role, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    Configured = false;
    Apply();
    // The first configure must be acknowledged before Qt attaches its first buffer.
    for (int Round = 0; Round < 8 && !Configured && Role; ++Round) {
        if (wl_display_roundtrip_queue(Shell->Display, Shell->Queue) < 0)
            break;
    }
}

void TWlrLayerSurface::Detach()
{
    if (Role)
        zwlr_layer_surface_v1_destroy(Role);
    Role = nullptr;
    Surface = nullptr;
    Configured = false;
}

void TWlrLayerSurface::SetPlacement(const TPlacement& Placement)
{
    if (Placement == Current)
        return;
    Current = Placement;
    if (Role)
        Apply();
}

void TWlrLayerSurface::Apply()
{
    zwlr_layer_surface_v1_set_anchor(Role, Current.Anchors);
    zwlr_layer_surface_v1_set_size(Role, std::uint32_t(std::max(0, Current.Size.width())), std::uint32_t(std::max(0, Current.Size.height())));
    zwlr_layer_surface_v1_set_margin(Role, Current.Margins.top(), Current.Margins.right(), Current.Margins.bottom(), Current.Margins.left());
    zwlr_layer_surface_v1_set_exclusive_zone(Role, Current.ExclusiveZone);
    wl_surface_commit(Surface);
    wl_display_flush(TLayerShell::Get()->Display);
}

void TWlrLayerSurface::Configure(std::uint32_t Serial, std::uint32_t Width, std::uint32_t Height)
{
    if (!Role)
        return;
    zwlr_layer_surface_v1_ack_configure(Role, Serial);
    Configured = true;
    const QSize Given { int(Width), int(Height) };
    if (Window && OnConfigure && Given.width() > 0 && Given.height() > 0 && Given != Window->size())
        OnConfigure(Given);
}

void TWlrLayerSurface::Closed()
{
    // The compositor took the surface away (its output went): a role is given again at the next
    // showing.
    Detach();
    if (Window)
        Window->hide();
}
