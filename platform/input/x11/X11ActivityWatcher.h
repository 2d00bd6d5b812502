#pragma once
// Hears of input that reaches other programs: a key pressed that KIVO did not type, a pointer
// button pressed outside KIVO's windows, another window made active. KIVO composes a mark with
// the letter it typed just before only while nothing of that kind has happened.
//
// It reads XInput 2 raw events (which every client may read, whoever has the focus or a grab)
// and the root window's active-window property on a display connection of its own. It does
// not drive itself: the owner watches FileDescriptor() and calls ProcessPending(). No X11
// header leaks from here.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TX11ActivityWatcher {
public:
    // Opens the display named by $DISPLAY. Null, with ErrorMessage set to one line, when there
    // is no display or it lacks XInput 2.
    static std::unique_ptr<TX11ActivityWatcher> Create(std::string& ErrorMessage);
    ~TX11ActivityWatcher();

    TX11ActivityWatcher(const TX11ActivityWatcher&) = delete;
    TX11ActivityWatcher& operator=(const TX11ActivityWatcher&) = delete;

    // Input that KIVO did not make has happened.
    std::function<void()> OnForeignActivity;
    // Whether one of KIVO's own windows got the pointer press of this server time.
    std::function<bool(std::uint32_t ServerTime)> IsOwnPress;

    // Readable when the server has reported something.
    int FileDescriptor() const;
    // Reads what the server reported. Keys and window changes are judged at once; a pointer
    // press waits for JudgePressesUpTo, since KIVO's windows may not have seen it yet.
    void ProcessPending();
    // Judges the pointer presses reported up to ServerTime: KIVO's windows have seen theirs.
    void JudgePressesUpTo(std::uint32_t ServerTime);
    // KIVO has just typed (through XTest, on a connection of its own whose requests the server
    // may handle after this one's): XTest key presses read in the next moment
    // (OwnKeysMilliseconds) are its own. Any other XTest key press is someone else's (xdotool,
    // another on-screen keyboard); a key of a real keyboard always is.
    void ClaimOwnKeys();
    static constexpr int OwnKeysMilliseconds = 500;

private:
    struct TConnection;
    explicit TX11ActivityWatcher(std::unique_ptr<TConnection> Connection);
    void Read();
    void Foreign();
    void JudgeOldest(size_t Count);

    std::unique_ptr<TConnection> Connection;
    std::vector<std::uint32_t> UnjudgedPresses;
    std::chrono::steady_clock::time_point OwnKeysUntil {};
};
