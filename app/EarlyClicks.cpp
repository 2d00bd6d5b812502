#include "EarlyClicks.h"

#include "TCaptionButton.h"
#include "X11EarlyRelease.h"

#include <QSocketNotifier>

TEarlyClicks::TEarlyClicks()
    : Source(TX11EarlyRelease::Open())
{
    if (!Source)
        return;
    Source->OnRelease = [](const TPointerRelease& Release) {
        if (Release.PositionKnown)
            TCaptionButton::ClickAtEarlyRelease(Release.PressTime, Release.LastMotionTime, Release.MotionCount,
                QPoint(Release.RootX, Release.RootY));
    };
    // The main thread wakes on this connection itself; the toolkit's events take a hop through
    // its reader thread first.
    Notifier = std::make_unique<QSocketNotifier>(Source->FileDescriptor(), QSocketNotifier::Read);
    QObject::connect(Notifier.get(), &QSocketNotifier::activated, [this] {
        // A click processes messages while it types; releases that come meanwhile wait for it.
        Notifier->setEnabled(false);
        Source->ReadEvents();
        Notifier->setEnabled(true);
    });
}

TEarlyClicks::~TEarlyClicks() = default;
