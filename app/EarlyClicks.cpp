#include "EarlyClicks.h"

#include "DesktopObserver.h"
#include "TCaptionButton.h"

#include <algorithm>

TEarlyClicks::TEarlyClicks(TDesktopObserver& Observer)
    : Observer(Observer)
{
    Observer.OnPointerRelease = [this](const TPointerRelease& Release) {
        Releases[NextRelease] = Release;
        NextRelease = (NextRelease + 1) % Releases.size();
        if (Release.PositionKnown)
            TCaptionButton::ClickAtEarlyRelease(Release.PressTime, Release.LastMotionTime, Release.MotionCount,
                QPoint(Release.RootX, Release.RootY));
    };
    TClickTiming::WitnessRelease = [this](unsigned long PressTime, unsigned long ReleaseTime) -> std::optional<TClickTiming::TWitness> {
        // The observer's report of this release went out with the toolkit's, or before it;
        // read what has come. Not from inside its own reading.
        if (!Reading) {
            Reading = true;
            this->Observer.ProcessPending();
            Reading = false;
        }
        const auto Found = std::find_if(Releases.begin(), Releases.end(),
            [&](const TPointerRelease& Each) { return Each.PressTime == PressTime && Each.ReleaseTime == ReleaseTime; });
        if (Found == Releases.end())
            return std::nullopt;
        TClickTiming::TWitness Witness {Found->MovedWhileHeld, std::nullopt};
        if (Found->PositionIsAtRelease)
            Witness.PointerAtRelease = QPoint(Found->RootX, Found->RootY);
        return Witness;
    };
}

TEarlyClicks::~TEarlyClicks()
{
    Observer.OnPointerRelease = nullptr;
    TClickTiming::WitnessRelease = nullptr;
}
