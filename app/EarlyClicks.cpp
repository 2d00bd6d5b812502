#include "EarlyClicks.h"

#include "DesktopObserver.h"
#include "TCaptionButton.h"

#include <algorithm>
#include <vector>

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
    TClickTiming::RecentReleases = [this] {
        // The observer's report of a release went out with the toolkit's, or before it; read
        // what has come. Not from inside its own reading.
        if (!Reading) {
            Reading = true;
            this->Observer.ProcessPending();
            Reading = false;
        }
        std::vector<TClickTiming::TWitness> Witnesses;
        for (std::size_t Index = 0; Index < Releases.size(); ++Index) {
            const TPointerRelease& Each = Releases[(NextRelease + Index) % Releases.size()];
            if (Each.ReleaseTime == 0)
                continue;
            TClickTiming::TWitness Witness {Each.PressTime, Each.ReleaseTime, Each.MovedWhileHeld, std::nullopt};
            if (Each.PositionIsAtRelease)
                Witness.PointerAtRelease = QPoint(Each.RootX, Each.RootY);
            Witnesses.push_back(Witness);
        }
        return Witnesses;
    };
}

TEarlyClicks::~TEarlyClicks()
{
    Observer.OnPointerRelease = nullptr;
    TClickTiming::RecentReleases = nullptr;
}
