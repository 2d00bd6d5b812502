#pragma once
// The keyboard as the X server has it now: its map (as a TX11KeymapModel) and its state (the
// active and locked group, the locked modifiers). Both are kept current from XKB's
// notifications on the backend's connection, read without a round trip before every key: the
// map is read again only when the server announces a new one, the state is taken from the
// state notifications. Where the backend puts a group back itself, it says which (AssumeGroups),
// because the notifications of its own locks may still be on their way.
#include "UserText.h"
#include "X11KeymapModel.h"

#include <X11/XKBlib.h>

#include <functional>
#include <string>

struct xcb_connection_t;
struct xkb_context;

class TX11Keymap {
public:
    explicit TX11Keymap(Display* Connection);
    ~TX11Keymap();
    TX11Keymap(const TX11Keymap&) = delete;
    TX11Keymap& operator=(const TX11Keymap&) = delete;

    // Selects the notifications and reads map and state; on failure Error says why, its %1
    // the display, which the caller names.
    bool Load(TUserText& Error);
    // Takes in the notifications that have arrived, and reads the map again if it changed.
    // Other events on the connection go to OnOtherEvent.
    void Refresh();
    std::function<void(const XEvent&)> OnOtherEvent;
    // Asks the server for the keyboard state (one round trip).
    void ReadState();
    // Takes the groups as the caller has just set them with request number Serial, without a
    // round trip: the group changes that notifications of earlier requests report (the
    // caller's own lock before it, still on their way) are older than that and ignored.
    void AssumeGroups(int Active, int Locked, unsigned long Serial);

    const TX11KeymapModel& Model() const { return Current; }
    int Group() const { return ActiveGroup; }
    int LockedGroup() const { return LockedGroupValue; }
    unsigned LockedModifiers() const { return LockedModifierBits; }
    // Counts the maps read so far.
    unsigned Generation() const { return LoadCount; }

    // A fresh read of the server's map as a model, without what the keys type (see
    // TXkbTyping); false if the server gave none.
    bool ReadModel(TX11KeymapModel& Model);
    // The model of a map read by the caller (which also needs the XKB structure itself).
    void ModelOf(XkbDescPtr Map, TX11KeymapModel& Model) const;

private:
    void HandleEvent(const XEvent& Event);
    bool ReadMap();

    Display* Connection = nullptr;
    // The same connection as libxkbcommon reads the server's keymap through.
    xcb_connection_t* Xcb = nullptr;
    xkb_context* Context = nullptr;
    int KeyboardDevice = -1;
    int EventBase = 0;
    Atom Alphabetic = 0;
    Atom FourLevelAlphabetic = 0;
    TX11KeymapModel Current;
    bool Stale = true;
    unsigned LoadCount = 0;
    int ActiveGroup = 0;
    int LockedGroupValue = 0;
    unsigned long GroupsSetAt = 0; // 0: every notification's groups count
    unsigned LockedModifierBits = 0;
};
