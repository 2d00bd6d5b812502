#include "IBusEngineLink.h"

#include "IBusInputBackend.h"
#include "InputBackend.h"
#include "Unit1.h"

#include <QPointer>
#include <QTimer>
#include <QToolTip>

#include <cstdio>

namespace {

class TIBusEngineLink : public QObject {
public:
    TIBusEngineLink(TForm1* Form, TIBusInputBackend& Backend)
        : Form(Form)
        , Backend(Backend)
    {
        Backend.OnForget = [this] {
            if (this->Form)
                this->Form->Composer.Forget();
        };
        // Only a Wayland desktop keeps KIVO's X11 keys out of its native programs.
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return;
        Backend.OnEngineStateChanged = [this](TIBusInputBackend::TEngineState State) { Consider(State); };
        Consider(Backend.EngineState());
    }

    ~TIBusEngineLink() override
    {
        Backend.OnForget = nullptr;
        Backend.OnEngineStateChanged = nullptr;
    }

private:
    void Consider(TIBusInputBackend::TEngineState State)
    {
        if (State == TIBusInputBackend::esChosen && Said)
            QToolTip::hideText();
        if (Said || State == TIBusInputBackend::esUnknown || State == TIBusInputBackend::esChosen)
            return;
        Said = true;
        const QString Hint = IBusEngineHint(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
        std::fprintf(stderr, "kivo: %s\n", qPrintable(Hint));
        // Once the keypad is on screen: a tooltip is a window that never takes the focus. It
        // stands above the keypad, not over the keys.
        QTimer::singleShot(500, this, [this, Hint] {
            if (Form && Form->isVisible() && Backend.EngineState() != TIBusInputBackend::esChosen)
                QToolTip::showText(Form->mapToGlobal(QPoint(8, -64)), Hint, Form, {}, 20000);
        });
    }

    QPointer<TForm1> Form;
    TIBusInputBackend& Backend;
    bool Said = false;
};

} // namespace

QString IBusEngineHint(const QString& CurrentDesktop)
{
    // Plasma gives its one input-method slot to the program chosen as its virtual keyboard.
    if (CurrentDesktop.split(QLatin1Char(':')).contains(QLatin1String("KDE"), Qt::CaseInsensitive))
        return QObject::tr("KIVO types only into X11 programs here. To type into every program, make it the virtual keyboard: "
                           "System Settings, Input Devices, Virtual Keyboard, KIVO; then apply.");
    if (CurrentDesktop.split(QLatin1Char(':')).contains(QLatin1String("GNOME"), Qt::CaseInsensitive))
        return QObject::tr("KIVO types only into X11 programs here. To type into every program, add it once in "
                           "Settings, Keyboard, Input Sources: +, Greek, \"Greek, Modern (1453-) (KIVO)\"; then choose it in the top bar.");
    return QObject::tr("KIVO types only into X11 programs here. To type into every program, add \"Greek (KIVO)\" "
                       "as an input method in IBus's preferences (ibus-setup) and choose it.");
}

std::unique_ptr<QObject> AttachIBusEngine(TForm1* Form)
{
    auto* Backend = dynamic_cast<TIBusInputBackend*>(CurrentInputBackend());
    if (!Backend)
        return nullptr;
    return std::make_unique<TIBusEngineLink>(Form, *Backend);
}
