#pragma once
// A lock that the KIVOs on one display share, for what must not interleave between them. It
// is a file lock, which the system drops when its holder dies, so a killed KIVO never leaves
// it taken. It stands in for a server grab: a grab would also hold back other clients' input,
// and XTest applies a pointer move at once but a button at the next round of input, so a
// click queued behind a grab would be reported where the pointer went next.
#include <chrono>
#include <string>

class TX11DisplayLock {
public:
    TX11DisplayLock(const std::string& DisplayName, const char* Purpose);
    ~TX11DisplayLock();
    TX11DisplayLock(const TX11DisplayLock&) = delete;
    TX11DisplayLock& operator=(const TX11DisplayLock&) = delete;

    // Waits up to Patience for the lock; a KIVO that waits longer (another holds a modifier
    // for a long key string) goes on without it rather than hang. True when taken.
    bool Take(std::chrono::milliseconds Patience = std::chrono::milliseconds(500));
    // Takes the lock if it is free now; never waits.
    bool TryTake();
    bool Held() const { return Taken; }
    void Give();

private:
    int Fd = -1;
    bool Taken = false;
};

// Holds a display lock for one scope.
class TX11DisplayLockScope {
public:
    explicit TX11DisplayLockScope(TX11DisplayLock& Lock)
        : Lock(Lock)
    {
        Lock.Take(std::chrono::seconds(2));
    }
    ~TX11DisplayLockScope() { Lock.Give(); }
    TX11DisplayLockScope(const TX11DisplayLockScope&) = delete;
    TX11DisplayLockScope& operator=(const TX11DisplayLockScope&) = delete;

private:
    TX11DisplayLock& Lock;
};
