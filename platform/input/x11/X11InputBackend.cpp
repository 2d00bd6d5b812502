#include "X11InputBackend.h"

#include "X11Keymap.h"
#include "X11SignalGuard.h"
#include "X11SpareKeys.h"
#include "X11VirtualKeys.h"
#include "X11Windows.h"

#include <X11/extensions/XTest.h>

#include <array>
#include <ctime>
#include <mutex>
#include <optional>

using namespace X11VirtualKeys;

namespace {

// Xlib's default handler ends the program on any protocol error; a window that went away
// between finding it and raising it is no reason to. Errors on other connections go on to the
// handler that was there before.
Display* QuietConnection = nullptr;
XErrorHandler PreviousErrorHandler = nullptr;

int IgnoreOwnErrors(Display* Connection, XErrorEvent* Error)
{
    if (Connection == QuietConnection || !PreviousErrorHandler)
        return 0;
    return PreviousErrorHandler(Connection, Error);
}

// What a reserved virtual key stands for until it is lent again: a key, and the group to lock
// while it is down.
struct TLentKey {
    KeyCode Keycode = 0;
    int Group = -1; // -1: the key is typed in whatever group is active
    bool operator==(const TLentKey&) const = default;
};

class TX11InputBackend final : public TInputBackend {
public:
    explicit TX11InputBackend(Display* Connection);
    ~TX11InputBackend() override;

    void KeybdEvent(BYTE VirtualKey, BYTE ScanCode, DWORD Flags, ULONG_PTR ExtraInfo) override;
    SHORT VkKeyScan(CHAR Character) override;
    UINT MapVirtualKey(UINT Code, UINT MapType) override;
    HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName) override;
    BOOL IsIconic(HWND Window) override;
    BOOL ShowWindow(HWND Window, int Command) override;
    BOOL BringWindowToTop(HWND Window) override;
    DWORD GetTickCount() override;

private:
    void Refresh(TX11Keymap::TFreshness Freshness);
    std::uint8_t Lend(const TLentKey& Key);
    TLentKey* Lent(BYTE VirtualKey);
    KeyCode KeycodeForEvent(BYTE VirtualKey, bool Press);
    void SendKey(KeyCode Keycode, bool Press);
    void ReleaseEverything();

    std::mutex Lock;
    Display* Connection = nullptr;
    TX11Keymap Keymap;
    TX11SpareKeys SpareKeys;
    TX11Windows Windows;
    unsigned AdoptedGeneration = 0;
    std::array<TLentKey, sizeof ReservedVirtualKeys> LentKeys {};
    std::size_t NextLent = 0;
    std::array<bool, 256> Held {};
    // A group locked for a key of another group: restored when that key is released.
    std::optional<std::pair<KeyCode, int>> GroupToRestore;
    std::array<KeyCode, 256> PressedKeycode {};
    std::unique_ptr<TX11SignalGuard> SignalGuard;
};

TX11InputBackend::TX11InputBackend(Display* Connection)
    : Connection(Connection)
    , Keymap(Connection)
    , SpareKeys(Connection)
    , Windows(Connection)
{
    QuietConnection = Connection;
    PreviousErrorHandler = XSetErrorHandler(IgnoreOwnErrors);
    // Keys sent while the user holds a physical key would otherwise be caught by an active grab.
    XTestGrabControl(Connection, True);
    Keymap.Load();
    Refresh(TX11Keymap::TFreshness::RoundTrip);
    SignalGuard = std::make_unique<TX11SignalGuard>([this] {
        // Keeps the lock for good: no other thread presses a key while the program dies.
        Lock.lock();
        ReleaseEverything();
    });
}

TX11InputBackend::~TX11InputBackend()
{
    {
        std::lock_guard Guard(Lock);
        ReleaseEverything();
    }
    // Only now: a signal that arrives while the keys are being released still finds the guard.
    SignalGuard.reset();
    XSetErrorHandler(PreviousErrorHandler);
    QuietConnection = nullptr;
    XCloseDisplay(Connection);
}

void TX11InputBackend::ReleaseEverything()
{
    for (int Keycode = 0; Keycode < 256; ++Keycode)
        if (Held[Keycode])
            SendKey(KeyCode(Keycode), false);
    if (GroupToRestore) {
        XkbLockGroup(Connection, XkbUseCoreKbd, GroupToRestore->second);
        GroupToRestore.reset();
    }
    Refresh(TX11Keymap::TFreshness::Read);
    if (Keymap.Description())
        SpareKeys.RestoreAll(Keymap.Description());
    XSync(Connection, False);
}

void TX11InputBackend::Refresh(TX11Keymap::TFreshness Freshness)
{
    Keymap.Refresh(Freshness);
    if (Keymap.Description() && AdoptedGeneration != Keymap.Generation()) {
        SpareKeys.Adopt(Keymap.Description());
        AdoptedGeneration = Keymap.Generation();
    }
}

std::uint8_t TX11InputBackend::Lend(const TLentKey& Key)
{
    for (std::size_t Index = 0; Index < LentKeys.size(); ++Index)
        if (LentKeys[Index] == Key)
            return ReservedVirtualKeys[Index];
    const std::size_t Index = NextLent;
    NextLent = (NextLent + 1) % LentKeys.size();
    LentKeys[Index] = Key;
    return ReservedVirtualKeys[Index];
}

TLentKey* TX11InputBackend::Lent(BYTE VirtualKey)
{
    for (std::size_t Index = 0; Index < LentKeys.size(); ++Index)
        if (ReservedVirtualKeys[Index] == VirtualKey)
            return &LentKeys[Index];
    return nullptr;
}

SHORT TX11InputBackend::VkKeyScan(CHAR Character)
{
    std::lock_guard Guard(Lock);
    Refresh(TX11Keymap::TFreshness::RoundTrip);
    const auto Keysyms = KeysymsForCharacter(static_cast<unsigned char>(Character));
    auto Choice = Keymap.FindKeysym(Keysyms);
    // A character that no key types gets a spare keycode now, not when it is pressed: the
    // modifiers it needs depend on where it lands, and the sender presses them first.
    if (!Choice && Keysyms.Count && SpareKeys.Acquire(Keymap.Description(), Keysyms.Preferred(), Keymap.HasLevel3()))
        Choice = Keymap.FindKeysym(Keysyms);
    if (!Choice)
        return -1;
    const int Modifiers = (Choice->Shift ? 1 : 0) | (Choice->Level3 ? 6 : 0);
    std::uint8_t VirtualKey = 0;
    if (Choice->Group != Keymap.ActiveGroup()) {
        VirtualKey = Lend({Choice->Keycode, Choice->Group});
    } else {
        VirtualKey = Keymap.VirtualKeyForKeycode(Choice->Keycode);
        // A key without a virtual key of its own (a spare), or one whose virtual key presses
        // another key typing the same letter, is lent a reserved one.
        if (!VirtualKey || Keymap.KeycodeForVirtualKey(VirtualKey) != Choice->Keycode)
            VirtualKey = Lend({Choice->Keycode});
    }
    return SHORT(Modifiers << 8 | VirtualKey);
}

KeyCode TX11InputBackend::KeycodeForEvent(BYTE VirtualKey, bool Press)
{
    const TLentKey* Key = Lent(VirtualKey);
    if (!Key)
        return Keymap.KeycodeForVirtualKey(VirtualKey);
    if (Press && Key->Group >= 0 && Key->Group != Keymap.ActiveGroup() && !GroupToRestore) {
        GroupToRestore = {Key->Keycode, Keymap.LockedGroup()};
        XkbLockGroup(Connection, XkbUseCoreKbd, unsigned(Key->Group));
    }
    if (Press)
        SpareKeys.Touch(Key->Keycode);
    return Key->Keycode;
}

void TX11InputBackend::SendKey(KeyCode Keycode, bool Press)
{
    XTestFakeKeyEvent(Connection, Keycode, Press ? True : False, CurrentTime);
    Held[Keycode] = Press;
    if (!Press && GroupToRestore && GroupToRestore->first == Keycode) {
        XkbLockGroup(Connection, XkbUseCoreKbd, unsigned(GroupToRestore->second));
        GroupToRestore.reset();
    }
    XFlush(Connection);
}

void TX11InputBackend::KeybdEvent(BYTE VirtualKey, BYTE, DWORD Flags, ULONG_PTR)
{
    std::lock_guard Guard(Lock);
    const bool Press = !(Flags & KEYEVENTF_KEYUP);
    // A press looks for a keymap change announced since the last call; a release goes to the
    // key that the press went to, whatever has changed since.
    Refresh(Press ? TX11Keymap::TFreshness::Read : TX11Keymap::TFreshness::Queued);
    KeyCode Keycode = Press ? 0 : PressedKeycode[VirtualKey];
    if (!Keycode)
        Keycode = KeycodeForEvent(VirtualKey, Press);
    PressedKeycode[VirtualKey] = Press ? Keycode : 0;
    if (Keycode)
        SendKey(Keycode, Press);
}

UINT TX11InputBackend::MapVirtualKey(UINT Code, UINT MapType)
{
    std::lock_guard Guard(Lock);
    Refresh(TX11Keymap::TFreshness::Read);
    // Scan codes are the Linux key codes, which evdev's keycodes carry at an offset of 8 and
    // which equal the PC's set-1 scan codes for the keys of a typewriter keyboard.
    constexpr UINT EvdevOffset = 8;
    switch (MapType) {
    case 0: { // virtual key -> scan code
        if (Code > 0xFF)
            return 0;
        KeyCode Keycode = Keymap.KeycodeForVirtualKey(BYTE(Code));
        if (const TLentKey* Key = Lent(BYTE(Code)))
            Keycode = Key->Keycode;
        return Keycode >= EvdevOffset ? Keycode - EvdevOffset : 0;
    }
    case 1: // scan code -> virtual key
    case 3:
        return Code + EvdevOffset <= 0xFF ? Keymap.VirtualKeyForKeycode(KeyCode(Code + EvdevOffset)) : 0;
    default:
        return 0;
    }
}

HWND TX11InputBackend::FindWindow(LPCSTR ClassName, LPCSTR WindowName)
{
    std::lock_guard Guard(Lock);
    return HWND(Windows.Find(ClassName, WindowName ? WindowName : ""));
}

BOOL TX11InputBackend::IsIconic(HWND Window)
{
    std::lock_guard Guard(Lock);
    return Windows.IsIconic(Window);
}

BOOL TX11InputBackend::ShowWindow(HWND Window, int Command)
{
    std::lock_guard Guard(Lock);
    return Windows.Show(Window, Command);
}

BOOL TX11InputBackend::BringWindowToTop(HWND Window)
{
    std::lock_guard Guard(Lock);
    return Windows.BringToTop(Window);
}

DWORD TX11InputBackend::GetTickCount()
{
    timespec Now {};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    const auto Milliseconds = std::uint64_t(Now.tv_sec) * 1000 + std::uint64_t(Now.tv_nsec) / 1000000;
    return DWORD(Milliseconds); // wraps after 49.7 days, as the tick count does
}

} // namespace

std::unique_ptr<TInputBackend> CreateX11InputBackend(std::string& ErrorMessage)
{
    XInitThreads();
    const char* Name = XDisplayName(nullptr);
    const std::string DisplayName = Name && *Name ? Name : "(DISPLAY is not set)";
    Display* Connection = XOpenDisplay(nullptr);
    if (!Connection) {
        ErrorMessage = "cannot open display " + DisplayName + ": is an X server running and DISPLAY set?";
        return nullptr;
    }
    int EventBase = 0, ErrorBase = 0, Major = 0, Minor = 0;
    if (!XTestQueryExtension(Connection, &EventBase, &ErrorBase, &Major, &Minor)) {
        XCloseDisplay(Connection);
        ErrorMessage = "the X server " + DisplayName + " has no XTest extension, so no keys can be typed";
        return nullptr;
    }
    int Opcode = 0, XkbEvent = 0, XkbError = 0, XkbMajor = XkbMajorVersion, XkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(Connection, &Opcode, &XkbEvent, &XkbError, &XkbMajor, &XkbMinor)) {
        XCloseDisplay(Connection);
        ErrorMessage = "the X server " + DisplayName + " has no XKEYBOARD extension, so its layout cannot be read";
        return nullptr;
    }
    return std::make_unique<TX11InputBackend>(Connection);
}
