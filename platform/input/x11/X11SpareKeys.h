#pragma once
// Keycodes that the keymap leaves without symbols, borrowed to type characters that no key of
// the layout types. They are the user's keymap, so the debt is kept where anyone can see it:
// every borrowed keycode is recorded in a property on the root window, with the keysyms put
// there and the owner: a small unmapped window on the borrowing connection, and a random token
// kept both in the record and as a property of that window. The server destroys the window when
// that connection dies, and it hands a dead client's resource ids to the next client, so the
// next KIVO's window may well have the dead one's id: only the token tells them apart. A record
// whose window is gone or carries another token belongs to a dead KIVO. The
// record is read, changed and written under a lock that the KIVOs of the display share, so two
// KIVOs never take the same keycode. At the end exactly the recorded keycodes that still carry what was put there are
// made empty again, after the rest time, from a fresh read; a KIVO that starts does the same
// for records of dead owners.
//
// A spare is mapped when its key is pressed, never to answer a question; it keeps its keysym
// afterwards, because target programs read a changed keymap only when they handle the key,
// sometimes long after it was sent. A half is given a new keysym only once it has rested for
// RestTime. A letter is mapped with its other case, so Shift and Caps Lock work on it as on any
// letter key; where the layout has a level-3 key a spare carries two such pairs (levels 3 and 4
// of FOUR_LEVEL_ALPHABETIC), as an evdev keymap has only a handful of spares.
#include "X11DisplayLock.h"
#include "X11KeymapModel.h"
#include "X11SpareMapping.h"

#include <X11/Xlib.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

class TX11Keymap;

using TSpareClock = std::chrono::steady_clock;
inline constexpr auto SpareRestTime = std::chrono::milliseconds(250);

struct TSpareHalf {
    TKeysym Lower = 0; // 0: free
    TSpareClock::time_point LastUsed {};
};

struct TSpare {
    std::uint8_t Keycode = 0;
    std::array<TSpareHalf, 2> Halves {};
};

// Where a keysym goes: the half of a spare that carries it, else a free half, else the half
// that rested longest (after Wait).
struct TSparePlan {
    std::uint8_t Keycode = 0;
    int Half = 0;
    bool Remap = false;
    TSpareClock::duration Wait {};
};
// Spares: the ones held, then the free keycodes (with empty halves), in the order they are
// preferred. Halves: 2 where levels 3 and 4 can be reached, else 1.
std::optional<TSparePlan> PlanSpare(const std::vector<TSpare>& Spares, TKeysym Lower, int Halves, TSpareClock::time_point Now);
// The place that types Keysym once the plan is carried out (a spare has one group, of an
// alphabetic type), under the locked modifiers.
std::optional<TKeyPlace> PlaceOnSpare(const TX11KeymapModel& Model, const TSpare& Spare, const TSparePlan& Plan, TKeysym Keysym, unsigned LockedModifiers);

class TX11SpareKeys {
public:
    TX11SpareKeys(Display* Connection, TX11Keymap& Keymap, const std::string& DisplayName);

    // Creates the owner window with a fresh token, clears what dead owners left and records this
    // KIVO as alive. Returns the owner windows of the other live KIVOs.
    std::vector<Window> Start();
    // Whether the record names a live KIVO other than this one (round trips: call it when the
    // record has changed, not per key).
    bool AnotherAlive();
    // The window that stands for this KIVO while it lives; 0 before Start.
    Window OwnerWindow() const { return Owner; }
    // The place Keysym would have if it were put on a spare now; changes nothing.
    std::optional<TKeyPlace> Predict(TKeysym Keysym, unsigned LockedModifiers) const;
    // Puts Keysym on a spare unless one carries it; true when a key types it afterwards (the
    // server has handled the change and the keymap has been read again).
    bool Acquire(TKeysym Keysym);
    // Counts a press of a spare as a use: it rests from now on.
    void Touch(std::uint8_t Keycode);
    // Gives the spares back (see above) and removes this KIVO's records.
    void RestoreAll();

private:
    struct TRecord {
        unsigned long Keycode = 0; // 0: only says that Owner is alive
        unsigned long Owner = 0;
        std::array<unsigned long, 2> Token {};
        std::array<unsigned long, 4> Keysyms {};
    };
    std::vector<TRecord> ReadRecords();
    void WriteRecords(const std::vector<TRecord>& Records);
    bool OwnerAlive(const TRecord& Record);
    bool Ours(const TRecord& Record) const { return Record.Owner == Owner && Record.Token == Token; }
    TRecord Mine(unsigned long Keycode, std::array<unsigned long, 4> Keysyms) const { return {Keycode, Owner, Token, Keysyms}; }
    bool Carries(const TX11KeymapModel& Model, const TRecord& Record) const;
    void ClearKeycodes(const std::vector<std::uint8_t>& Keycodes);
    std::vector<TSpare> Candidates(const TX11KeymapModel& Model, const std::vector<std::uint8_t>& ClaimedByOthers) const;
    int HalvesAvailable(const TX11KeymapModel& Model) const;
    bool Map(const TSpare& Spare, int ChangedHalf);

    Display* Connection = nullptr;
    TX11Keymap& Keymap;
    TX11DisplayLock RecordLock;
    TX11SpareMapping Mapping;
    Window Root = 0;
    Window Owner = 0;
    Atom Registry = 0;
    Atom TokenAtom = 0;
    std::array<unsigned long, 2> Token {}; // 31 random bits in each
    std::vector<TSpare> Held; // keycodes this KIVO has put keysyms on
};
