#pragma once
// The keyboard as the X server has it now: the XKB keymap, the active group and the locked
// modifiers, and what follows from them (which key, group and level type a keysym, which
// keycode a virtual key presses). One round trip per Refresh brings the state up to date; the
// keymap itself is read again only when the server announces a new one, so a layout switched
// while the program runs is honoured at the next key.
#include "X11Keysyms.h"

#include <X11/XKBlib.h>

#include <array>
#include <cstdint>
#include <optional>

struct TKeyChoice {
    KeyCode Keycode = 0;
    int Group = 0;
    bool Shift = false;
    bool Level3 = false;
};

class TX11Keymap {
public:
    explicit TX11Keymap(Display* Connection);
    ~TX11Keymap();
    TX11Keymap(const TX11Keymap&) = delete;
    TX11Keymap& operator=(const TX11Keymap&) = delete;

    bool Load();
    // How far Refresh goes to learn of changes: only notifications already read; also those
    // waiting on the connection; or a round trip for the keyboard state, which also brings in
    // every notification that the server sent before it.
    enum class TFreshness { Queued, Read, RoundTrip };
    void Refresh(TFreshness Freshness);
    void HandleEvent(const XEvent& Event);
    void MarkStale() { Stale = true; }

    // The key that types one of Keysyms in the active group, at the lowest level that the
    // current locks allow (Caps Lock on makes "a" Shift+A); failing that, in another group.
    std::optional<TKeyChoice> FindKeysym(const TKeysymCandidates& Keysyms) const;

    // Whether the active group has a key that selects level 3.
    bool HasLevel3() const { return Level3Mask != 0; }

    KeyCode KeycodeForVirtualKey(std::uint8_t VirtualKey) const { return VirtualKeyToKeycode[VirtualKey]; }
    std::uint8_t VirtualKeyForKeycode(KeyCode Keycode) const { return KeycodeToVirtualKey[Keycode]; }
    int ActiveGroup() const { return Group; }
    int LockedGroup() const { return LockedGroupValue; }
    XkbDescPtr Description() const { return Keymap; }
    int XkbEventBase() const { return EventBase; }
    unsigned Generation() const { return LoadCount; }

private:
    void BuildVirtualKeyTables();
    int EffectiveGroup(KeyCode Keycode, int WantedGroup) const;
    std::optional<TKeyChoice> FindInGroup(KeyCode Keycode, int KeyGroup, const TKeysymCandidates& Keysyms) const;

    Display* Connection = nullptr;
    XkbDescPtr Keymap = nullptr;
    int EventBase = 0;
    bool Stale = true;
    unsigned LoadCount = 0;
    int Group = 0;
    int LockedGroupValue = 0;
    unsigned LockedModifiers = 0;
    unsigned Level3Mask = 0;
    int TableGroup = -1;
    std::array<KeyCode, 256> VirtualKeyToKeycode {};
    std::array<std::uint8_t, 256> KeycodeToVirtualKey {};
};
