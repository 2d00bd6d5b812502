#pragma once
// Clicks the button under a mouse release as soon as the desktop observer reports the release,
// ahead of the toolkit's own input path, wherever that clicks exactly what the toolkit would
// have clicked (TCaptionButton::ClickAtEarlyRelease decides). Where the platform cannot report
// releases early, it does nothing and the toolkit clicks. The observer's reports are read by
// WatchOutsideInput.
//
// It also keeps the latest of those reports for TClickTiming::RecentReleases: where the toolkit
// reports a release off the pressed button, or loses a release and the press after it, they
// say what really happened.
#include "DesktopObserver.h"

#include <array>
#include <cstddef>

class TEarlyClicks {
public:
    explicit TEarlyClicks(TDesktopObserver& Observer);
    ~TEarlyClicks();
    TEarlyClicks(const TEarlyClicks&) = delete;
    TEarlyClicks& operator=(const TEarlyClicks&) = delete;

private:
    TDesktopObserver& Observer;
    // The latest releases: the toolkit's report of one may come after the next one's.
    std::array<TPointerRelease, 8> Releases {};
    std::size_t NextRelease = 0;
    bool Reading = false;
};
