#include "WaylandKeypad.h"

#include "Unit1.h"
#include "WlrInputBackend.h"
#include "WlrLayerSurface.h"
#include "WaylandPlacement.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <map>

namespace {

class TWaylandKeypad : public QObject {
public:
    TWaylandKeypad(TForm1* Form, TWlrInputBackend& Backend)
        : Form(Form)
        , Backend(Backend)
        , Readable(Backend.FileDescriptor(), QSocketNotifier::Read)
    {
        Form->setWindowFlag(Qt::BypassWindowManagerHint, true);
        Form->winId();
        Layer = TWlrLayerSurface::Create(Form->windowHandle(), TWlrLayerSurface::lyTop, KeypadPlacement(Form->geometry(), ScreenArea()));
        if (!Layer) {
            // An ordinary window then, that takes the focus when clicked: better than none.
            Form->setWindowFlag(Qt::BypassWindowManagerHint, false);
            return;
        }
        Layer->OnConfigure = [this](QSize Size) { this->Form->resize(Size); };
        Form->installEventFilter(this);
        Form->windowHandle()->installEventFilter(this);
        qApp->installEventFilter(this);

        Backend.OnActiveWindowChanged = [this] { Forget(); };
        connect(&Readable, &QSocketNotifier::activated, this, [this] { this->Backend.ProcessPending(); });
        // Catch up with the desktop before a mark is composed with the letter before it.
        Form->OnBeforeCompose = [this] { this->Backend.ProcessPending(); };
        Form->Keyboard1->BackspaceRepeat = [this]() -> std::optional<TRepeatTiming> {
            const std::optional<std::pair<int, int>> Repeat = this->Backend.KeyRepeat();
            if (!Repeat)
                return std::nullopt;
            return TRepeatTiming { Repeat->first, Repeat->second };
        };
    }

    ~TWaylandKeypad() override
    {
        Backend.OnActiveWindowChanged = nullptr;
        if (Form) {
            Form->OnBeforeCompose = nullptr;
            Form->Keyboard1->BackspaceRepeat = nullptr;
        }
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (Watched == Form)
                Layer->SetPlacement(KeypadPlacement(Form->geometry(), ScreenArea()));
            else if (const auto Popup = Popups.find(Watched); Popup != Popups.end())
                Popup->second->SetPlacement(PopupPlacement(static_cast<QWidget*>(Watched)->geometry(), ScreenArea()));
            break;
        case QEvent::Leave:
            // Out of the keypad, the pointer may click into the document: the letter KIVO typed
            // last is then no longer surely the one before the cursor.
            if (Form && Watched == Form->windowHandle())
                Forget();
            break;
        case QEvent::Show:
            if (auto* Widget = qobject_cast<QWidget*>(Watched); Widget && Widget != Form && Widget->isWindow())
                GivePopupRole(Widget);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (auto* Widget = qobject_cast<QWidget*>(Watched); Widget && Form && Widget->window() == Form)
                return MoveOrResize(Widget, static_cast<QMouseEvent*>(Event));
            break;
        default: break;
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    QRect ScreenArea() const { return Form && Form->screen() ? Form->screen()->geometry() : QRect(); }

    void Forget()
    {
        if (Form)
            Form->Composer.Forget();
    }

    // Tooltips and menus: Qt would make them popups of the keypad's xdg surface, which it has
    // not got; as layer surfaces above everything they stand where Qt puts them. A tooltip lets
    // the pointer through, so that passing over one does not count as leaving the keypad.
    void GivePopupRole(QWidget* Widget)
    {
        const Qt::WindowType Type = Widget->windowType();
        if ((Type != Qt::ToolTip && Type != Qt::Popup) || Popups.contains(Widget) || !Widget->windowHandle())
            return;
        QWindow* Window = Widget->windowHandle();
        Qt::WindowFlags Flags = Window->flags() | Qt::BypassWindowManagerHint;
        if (Type == Qt::ToolTip)
            Flags |= Qt::WindowTransparentForInput;
        Window->setFlags(Flags);
        std::unique_ptr<TWlrLayerSurface> Role
            = TWlrLayerSurface::Create(Window, TWlrLayerSurface::lyOverlay, PopupPlacement(Widget->geometry(), ScreenArea()));
        if (!Role)
            return;
        Widget->installEventFilter(this);
        connect(Widget, &QObject::destroyed, this, [this, Widget] { Popups.erase(Widget); });
        Popups.emplace(Widget, std::move(Role));
        // A click into another program cannot close a menu (it holds no grab): leaving it does.
        if (Type == Qt::Popup)
            new TPopupCloser(Widget);
    }

    // Closes a menu once the pointer has been off it for a moment.
    class TPopupCloser : public QObject {
    public:
        explicit TPopupCloser(QWidget* Popup)
            : QObject(Popup)
            , Popup(Popup)
        {
            Timer.setSingleShot(true);
            Timer.setInterval(600);
            connect(&Timer, &QTimer::timeout, this, [this] {
                if (this->Popup && this->Popup->isVisible() && !this->Popup->underMouse())
                    this->Popup->close();
            });
            Popup->installEventFilter(this);
        }
        bool eventFilter(QObject*, QEvent* Event) override
        {
            if (Event->type() == QEvent::Leave)
                Timer.start();
            else if (Event->type() == QEvent::Enter)
                Timer.stop();
            return false;
        }

    private:
        QPointer<QWidget> Popup;
        QTimer Timer;
    };

    // A press on the keypad's background (not on a key or button) moves it, one near an edge
    // resizes it, as a window manager's frame would. The window goes to its new place at the
    // release: the pointer's position is known only relative to the surface, and a surface
    // moved meanwhile would make each motion's position wrong by how far the compositor has got.
    bool MoveOrResize(QWidget* Widget, QMouseEvent* Event)
    {
        const QPoint Global = Event->globalPosition().toPoint();
        if (Event->type() == QEvent::MouseButtonPress) {
            if (Event->button() != Qt::LeftButton || qobject_cast<QAbstractButton*>(Widget))
                return false;
            Drag = TKeypadDrag(Form->geometry(), Form->mapFromGlobal(Global), Global);
            Form->setCursor(Drag->Cursor());
            return true;
        }
        if (!Drag)
            return false;
        if (Event->type() == QEvent::MouseButtonRelease && Event->button() == Qt::LeftButton) {
            const QRect Target = Drag->Geometry(Global, ScreenArea());
            Drag.reset();
            Form->unsetCursor();
            if (Target != Form->geometry())
                Form->setGeometry(Target);
        }
        return true;
    }

    QPointer<TForm1> Form;
    TWlrInputBackend& Backend;
    QSocketNotifier Readable;
    std::unique_ptr<TWlrLayerSurface> Layer;
    std::map<QObject*, std::unique_ptr<TWlrLayerSurface>> Popups;
    std::optional<TKeypadDrag> Drag;
};

} // namespace

std::unique_ptr<QObject> AttachWaylandKeypad(TForm1* Form, TWlrInputBackend& Backend)
{
    return std::make_unique<TWaylandKeypad>(Form, Backend);
}
