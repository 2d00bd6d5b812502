#include "EarlyClicks.h"

#include "DesktopObserver.h"
#include "TCaptionButton.h"

TEarlyClicks::TEarlyClicks(TDesktopObserver& Observer)
    : Observer(Observer)
{
    Observer.OnPointerRelease = [](const TPointerRelease& Release) {
        if (Release.PositionKnown)
            TCaptionButton::ClickAtEarlyRelease(Release.PressTime, Release.LastMotionTime, Release.MotionCount,
                QPoint(Release.RootX, Release.RootY));
    };
}

TEarlyClicks::~TEarlyClicks() { Observer.OnPointerRelease = nullptr; }
