#include "TScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

QRect PrimaryScreenGeometry()
{
    if (!qGuiApp)
        return {};
    const QScreen* Primary = QGuiApplication::primaryScreen();
    return Primary ? Primary->geometry() : QRect {};
}

TScreen TheScreen;

} // namespace

TScreen* Screen = &TheScreen;

int TScreen::Width() const { return PrimaryScreenGeometry().width(); }

int TScreen::Height() const { return PrimaryScreenGeometry().height(); }
