#pragma once
// Gives one of Qt's own windows the role of a layer surface (zwlr_layer_shell_v1) on Qt's
// Wayland connection, so that it is placed by anchors and margins, may keep tiled windows out
// of its zone, and takes no keyboard focus when clicked. Qt 6.4 ships no API for this: the
// window must carry Qt::BypassWindowManagerHint with QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT set
// before the application object, so that Qt gives its wl_surface no role of its own; this
// class gives it ours before Qt's first buffer, and gives it again each time Qt makes a new
// wl_surface (after a hide).
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>

class QWindow;
struct wl_surface;
struct zwlr_layer_surface_v1;

class TWlrLayerSurface : public QObject {
    Q_OBJECT

public:
    enum TLayer : std::uint8_t { lyBottom = 1, lyTop = 2, lyOverlay = 3 };
    enum TAnchor : std::uint8_t { anTop = 1, anBottom = 2, anLeft = 4, anRight = 8 };

    struct TPlacement {
        std::uint32_t Anchors = 0;
        QMargins Margins;
        // 0 for a length between two opposite anchors.
        QSize Size;
        int ExclusiveZone = 0;
        friend bool operator==(const TPlacement&, const TPlacement&) = default;
    };

    // Null, with a line on stderr, when Qt's connection offers no layer shell. Window must be
    // created (winId) and not yet shown.
    static std::unique_ptr<TWlrLayerSurface> Create(QWindow* Window, TLayer Layer, const TPlacement& Placement);
    ~TWlrLayerSurface() override;

    // Applies at once, also while the window is on screen.
    void SetPlacement(const TPlacement& Placement);
    const TPlacement& Placement() const { return Current; }

    // The size the compositor gave the surface, when it differs from the window's.
    std::function<void(QSize Size)> OnConfigure;

    // For the protocol's listener.
    void Configure(std::uint32_t Serial, std::uint32_t Width, std::uint32_t Height);
    void Closed();

private:
    TWlrLayerSurface(QWindow* Window, TLayer Layer, const TPlacement& Placement);
    void Attach();
    void Detach();
    void Apply();
    void WatchPlatformWindow();
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private Q_SLOTS:
    // Connected by name to the platform window's signals of the same meaning: Qt's Wayland
    // plugin publishes no header for them.
    void SurfaceCreated();
    void SurfaceDestroyed();

private:
    QPointer<QWindow> Window;
    TLayer Layer;
    TPlacement Current;
    wl_surface* Surface = nullptr;
    zwlr_layer_surface_v1* Role = nullptr;
    bool Configured = false;
    QObject* WatchedPlatformWindow = nullptr;
};
