#pragma once
// Clicks the button under a mouse release as soon as the desktop observer reports the release,
// ahead of the toolkit's own input path, wherever that clicks exactly what the toolkit would
// have clicked (TCaptionButton::ClickAtEarlyRelease decides). Where the platform cannot report
// releases early, it does nothing and the toolkit clicks. The observer's reports are read by
// WatchOutsideInput.
class TDesktopObserver;

class TEarlyClicks {
public:
    explicit TEarlyClicks(TDesktopObserver& Observer);
    ~TEarlyClicks();
    TEarlyClicks(const TEarlyClicks&) = delete;
    TEarlyClicks& operator=(const TEarlyClicks&) = delete;

private:
    TDesktopObserver& Observer;
};
