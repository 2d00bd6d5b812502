#pragma once
// What KIVO must see of the desktop besides its own windows, whatever the platform: input that
// reaches other programs (so that the composer forgets the letter it typed), the release of the
// primary pointer button as early as the platform tells it (so that a key clicks at once), and
// the desktop's key-repeat settings (so that a held Backspace repeats at the user's rate).
// Each platform's observer goes with its backend (see PlatformInput.h); this header is free of
// any platform's types.
//
// The observer does not drive itself: the owner watches FileDescriptor() in its event loop and
// calls ProcessPending() when it is readable.
#include <cstdint>
#include <functional>
#include <optional>

struct TPointerRelease {
    // The platform's times in milliseconds, as the toolkit's input events carry them. PressTime
    // is that of the press the release ends.
    unsigned long PressTime = 0;
    // The latest pointer motion before the release, and how many motions happened in that same
    // millisecond. No motion seen yet: MotionCount is 0.
    unsigned long LastMotionTime = 0;
    int MotionCount = 0;
    unsigned long ReleaseTime = 0;
    // Whether a motion event came between the press and the release, in the order the input
    // happened. The toolkit's release may say otherwise: a server that held the pointer's
    // events back (a window manager's grab on the press) reports the release where the pointer
    // went after it. A program that warps the pointer makes no motion event.
    bool MovedWhileHeld = true;
    // Where the pointer is as the release is read, in the screen's pixels: moves of the pointer
    // that come with no motion event (a program warping it) are seen only here.
    int RootX = 0, RootY = 0;
    // False when the platform could not say (the pointer is on another screen).
    bool PositionKnown = false;
    // Whether RootX, RootY are still where the button went up: no motion or press came between
    // the release and the reading of the position. A release read late, once the pointer has
    // moved on, is not.
    bool PositionIsAtRelease = false;
};

struct TKeyRepeatSettings {
    // How long a key is held before it first repeats, and the time between two repeats.
    int DelayMilliseconds = 0;
    int IntervalMilliseconds = 0;
};

class TDesktopObserver {
public:
    virtual ~TDesktopObserver() = default;

    // Input that KIVO did not make has happened: a key it did not type, a pointer press outside
    // its windows, another window made active.
    std::function<void()> OnForeignActivity;
    // Whether one of KIVO's own windows got the pointer press of this time.
    std::function<bool(std::uint32_t Time)> IsOwnPress;
    // The primary button was released (see TPointerRelease).
    std::function<void(const TPointerRelease& Release)> OnPointerRelease;

    // False when this platform cannot tell outside input at all: KIVO must then assume that
    // anything may have happened between two of its keys.
    virtual bool SeesOutsideInput() const = 0;
    // Readable when the platform has reported something; -1 when there is nothing to watch.
    virtual int FileDescriptor() const = 0;
    // Reads what was reported, without waiting. Keys and window changes are judged at once; a
    // pointer press waits for JudgePressesUpTo, since KIVO's windows may not have seen it yet.
    virtual void ProcessPending() = 0;
    // Judges the pointer presses reported up to Time: KIVO's windows have seen theirs.
    virtual void JudgePressesUpTo(std::uint32_t Time) = 0;
    // The desktop's repeat delay and interval, read now; none when keys do not repeat.
    virtual std::optional<TKeyRepeatSettings> KeyRepeat() = 0;
};
