#include "WindowPlace.h"

#include "TForm.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>

#include <utility>

TWindowPlace::TWindowPlace(TForm& Window, QString SettingsKey, std::function<void()> PlaceByDefault)
    : QObject(&Window)
    , Window(Window)
    , SettingsKey(std::move(SettingsKey))
    , PlaceByDefault(std::move(PlaceByDefault))
    , DefaultBounds(Window.Left(), Window.Top(), Window.Width(), Window.Height())
    , RestTimer(new QTimer(this))
{
    RestTimer->setSingleShot(true);
    RestTimer->setInterval(RestMilliseconds);
    connect(RestTimer, &QTimer::timeout, this, &TWindowPlace::Store);
    Window.installEventFilter(this);
}

QRect TWindowPlace::Stored() const { return QSettings().value(SettingsKey).toRect(); }

void TWindowPlace::Restore()
{
    const QRect Bounds = Stored();
    if (Bounds.isEmpty())
        return;
    // A screen unplugged or made smaller since: the default place, not one out of reach.
    for (const QScreen* Screen : QGuiApplication::screens()) {
        if (Screen->geometry().contains(Bounds)) {
            Window.SetBounds(Bounds.left(), Bounds.top(), Bounds.width(), Bounds.height());
            return;
        }
    }
}

void TWindowPlace::Reset()
{
    RestTimer->stop();
    QSettings().remove(SettingsKey);
    PlaceByDefault();
    DefaultBounds = QRect(Window.Left(), Window.Top(), Window.Width(), Window.Height());
}

bool TWindowPlace::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == &Window && (Event->type() == QEvent::Move || Event->type() == QEvent::Resize) && Window.isVisible())
        RestTimer->start();
    return QObject::eventFilter(Watched, Event);
}

void TWindowPlace::Store()
{
    // Still being placed by the program: asked again once it is where the program put it.
    if (!Window.BoundsSettled()) {
        RestTimer->start();
        return;
    }
    // Not on screen as itself: nothing the user chose.
    if (!Window.isVisible() || Window.isMinimized() || Window.isMaximized() || Window.isFullScreen())
        return;
    const QRect Bounds(Window.Left(), Window.Top(), Window.Width(), Window.Height());
    QSettings Settings;
    if (Bounds == DefaultBounds)
        Settings.remove(SettingsKey);
    else
        Settings.setValue(SettingsKey, Bounds);
}
