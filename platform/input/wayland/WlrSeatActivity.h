#pragma once
// The moments of input on the seat, from whatever device, as a wlroots compositor reports them
// to any client (org_kde_kwin_idle with a timeout of one millisecond: "resumed" comes with the
// first input after a quiet millisecond, so practically with every key and every pointer event).
// It says when, never what or from where: TWlrActivityJudge tells KIVO's own input apart.
// Read on a connection and a thread of their own, so that each moment is taken when it comes,
// not when the program's event loop gets to it.
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct wl_display;

class TWlrSeatActivity {
public:
    // Null when the compositor offers no idle notification (or no seat).
    static std::unique_ptr<TWlrSeatActivity> Open();
    ~TWlrSeatActivity();
    TWlrSeatActivity(const TWlrSeatActivity&) = delete;
    TWlrSeatActivity& operator=(const TWlrSeatActivity&) = delete;

    // The moments (milliseconds on the monotonic clock, as input events carry them) since the
    // last call.
    std::vector<std::uint32_t> Take();

    // For the protocol's listener.
    void Resumed();

private:
    explicit TWlrSeatActivity(wl_display* Display);
    void Run();

    wl_display* Display = nullptr;
    int StopPipe[2] = { -1, -1 };
    std::mutex Lock;
    std::vector<std::uint32_t> Moments;
    std::thread Reader;
};

// Which moments of input KIVO made itself: those within a few milliseconds after one of its own
// pointer events or keys. Any other is input KIVO did not see, such as a key of the user's own
// keyboard. Times are milliseconds that wrap after 2^32.
class TWlrActivityJudge {
public:
    // The compositor reports the moment a millisecond or so after the input it came with, or
    // up to a tenth of a second later on a busy machine (measured on 2 loaded cores); a busy
    // program reads its own pointer events late, but their times are the input's own. A key
    // typed within this time after KIVO's own input is taken for KIVO's.
    static constexpr int EarliestOwnBefore = 100;
    static constexpr int LatestOwnAfter = 10;

    void Own(std::uint32_t Time);
    // Moments of input to be judged.
    void Add(const std::vector<std::uint32_t>& Moments);
    // Judges the moments up to UpTo: true when one is no one's of KIVO's. Later ones wait, as
    // the program may not have handled its own input of that time yet.
    bool AnyForeignUpTo(std::uint32_t UpTo);
    // The latest own time; 0 before any.
    std::uint32_t LatestOwn() const { return Latest; }

private:
    // The latest own times, oldest overwritten first.
    std::vector<std::uint32_t> OwnTimes = std::vector<std::uint32_t>(512, 0);
    size_t Next = 0;
    bool Wrapped = false;
    std::uint32_t Latest = 0;
    std::vector<std::uint32_t> Pending;
};
