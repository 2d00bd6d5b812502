#pragma once
// Clicks the button under a mouse release as soon as the X server announces the release, ahead
// of the toolkit's own input path, wherever that clicks exactly what the toolkit would have
// clicked (TCaptionButton::ClickAtEarlyRelease decides). Lives as long as the event loop runs;
// where the server cannot report releases early, it does nothing and the toolkit clicks.
#include <memory>

class QSocketNotifier;
class TX11EarlyRelease;

class TEarlyClicks {
public:
    TEarlyClicks();
    ~TEarlyClicks();
    TEarlyClicks(const TEarlyClicks&) = delete;
    TEarlyClicks& operator=(const TEarlyClicks&) = delete;

private:
    std::unique_ptr<TX11EarlyRelease> Source;
    std::unique_ptr<QSocketNotifier> Notifier;
};
