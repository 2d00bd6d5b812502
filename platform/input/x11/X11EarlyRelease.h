#pragma once
// Sees the primary pointer button's release the moment the X server announces it, on a
// connection of its own, ahead of the toolkit's input path (its reader thread, the hop to the
// main thread, its dispatch). With each release it says when the pointer last moved before it,
// so that the receiver can tell whether it has already seen where the pointer was at the release.
// It never changes anything on the server: it listens to the raw input events that XInput 2.1
// reports to every client on the root window, and asks where the pointer is at each release.
// The header is free of X11 types; the caller waits on FileDescriptor() in its own event loop.
#include <functional>
#include <memory>

struct TPointerRelease {
    // The server's times, in milliseconds, as the toolkit's input events carry them. PressTime
    // is that of the press the release ends.
    unsigned long PressTime = 0;
    // The latest pointer motion before the release, and how many motions happened in that same
    // millisecond. No motion since this listener started: MotionCount is 0.
    unsigned long LastMotionTime = 0;
    int MotionCount = 0;
    // Where the pointer is as the release is read, in the screen's pixels: moves of the pointer
    // that come with no motion event (a program warping it) are seen only here.
    int RootX = 0, RootY = 0;
    // False when the server could not say (the pointer is on another screen).
    bool PositionKnown = false;
};

class TX11EarlyRelease {
public:
    // Null without a display or without XInput 2.1.
    static std::unique_ptr<TX11EarlyRelease> Open();
    ~TX11EarlyRelease();
    TX11EarlyRelease(const TX11EarlyRelease&) = delete;
    TX11EarlyRelease& operator=(const TX11EarlyRelease&) = delete;

    // Readable when the server has sent something.
    int FileDescriptor() const;
    // Reads everything the server has sent, without waiting, and calls OnRelease for each release
    // of the primary button, in order.
    void ReadEvents();
    std::function<void(const TPointerRelease& Release)> OnRelease;

private:
    struct TConnection;
    explicit TX11EarlyRelease(std::unique_ptr<TConnection> Connection);

    std::unique_ptr<TConnection> Server;
    unsigned long PressTime = 0;
    unsigned long LastMotionTime = 0;
    int MotionCount = 0;
};
