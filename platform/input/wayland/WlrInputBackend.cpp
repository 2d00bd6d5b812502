#include "WlrInputBackend.h"

#include "WlrKeymap.h"
#include "WlrToplevels.h"
#include "virtual-keyboard-unstable-v1-client.h"

#include <wayland-client.h>

#include <poll.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>

namespace {

constexpr std::uint32_t KeymapFormatXkbV1 = 1;
constexpr std::uint32_t KeyReleased = 0;
constexpr std::uint32_t KeyPressed = 1;

// The modifier bits of our keymap: XKB's eight real modifiers, in their fixed order.
constexpr std::uint32_t ShiftMask = 1u << 0, LockMask = 1u << 1, ControlMask = 1u << 2, Mod1Mask = 1u << 3,
                        Mod2Mask = 1u << 4, Mod4Mask = 1u << 6, Mod5Mask = 1u << 7;

std::uint32_t ModifierMaskOf(TNamedKey Key)
{
    switch (Key) {
    case nkShift:
    case nkRightShift: return ShiftMask;
    case nkControl:
    case nkRightControl: return ControlMask;
    case nkAlt: return Mod1Mask;
    case nkAltGr: return Mod5Mask;
    case nkSuper: return Mod4Mask;
    default: return 0;
    }
}

std::uint32_t Milliseconds()
{
    timespec Now {};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    return std::uint32_t(Now.tv_sec * 1000 + Now.tv_nsec / 1000000);
}

// The globals a client sees, as far as KIVO needs them.
struct TGlobals {
    std::uint32_t Seat = 0, SeatVersion = 0;
    std::uint32_t VirtualKeyboardManager = 0;
    std::uint32_t Toplevels = 0, ToplevelsVersion = 0;
    bool LayerShell = false;
};

const wl_registry_listener RegistryListener = {
    .global =
        [](void* Data, wl_registry*, std::uint32_t Name, const char* Interface, std::uint32_t Version) {
            auto& Globals = *static_cast<TGlobals*>(Data);
            const std::string_view Which = Interface;
            // The first seat: a desktop has one.
            if (Which == "wl_seat" && !Globals.Seat) {
                Globals.Seat = Name;
                Globals.SeatVersion = Version;
            } else if (Which == "zwp_virtual_keyboard_manager_v1") {
                Globals.VirtualKeyboardManager = Name;
            } else if (Which == "zwlr_foreign_toplevel_manager_v1") {
                Globals.Toplevels = Name;
                Globals.ToplevelsVersion = Version;
            } else if (Which == "zwlr_layer_shell_v1") {
                Globals.LayerShell = true;
            }
        },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

class TVirtualKeyboardBackend : public TWlrInputBackend {
public:
    TVirtualKeyboardBackend(wl_display* Display, wl_registry* Registry, const TGlobals& Globals)
        : Display(Display)
        , Registry(Registry)
    {
        Seat = static_cast<wl_seat*>(wl_registry_bind(Registry, Globals.Seat, &wl_seat_interface, std::min<std::uint32_t>(Globals.SeatVersion, 5)));
        Manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(Registry, Globals.VirtualKeyboardManager, &zwp_virtual_keyboard_manager_v1_interface, 1));
        if (Globals.Toplevels) {
            Toplevels = std::make_unique<TWlrToplevels>(Registry, Globals.Toplevels, Globals.ToplevelsVersion);
            Toplevels->OnActiveChanged = [this] {
                if (OnActiveWindowChanged)
                    OnActiveWindowChanged();
            };
        }
        wl_seat_add_listener(Seat, &SeatListener, this);
    }

    ~TVirtualKeyboardBackend() override
    {
        // Nothing stays held: a key or modifier left down would go on acting in the target.
        if (VirtualKeyboard) {
            for (const std::uint32_t Keycode : std::set<std::uint32_t>(HeldKeycodes))
                Key(Keycode, false);
            zwp_virtual_keyboard_v1_modifiers(VirtualKeyboard, 0, 0, 0, 0);
            zwp_virtual_keyboard_v1_destroy(VirtualKeyboard);
        }
        Toplevels.reset();
        if (Keyboard)
            wl_keyboard_destroy(Keyboard);
        zwp_virtual_keyboard_manager_v1_destroy(Manager);
        wl_seat_destroy(Seat);
        wl_registry_destroy(Registry);
        wl_display_roundtrip(Display);
        wl_display_disconnect(Display);
    }

    bool Start(TUserText& ErrorMessage)
    {
        VirtualKeyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(Manager, Seat);
        if (!SendKeymap() || wl_display_roundtrip(Display) < 0 || wl_display_roundtrip(Display) < 0) {
            ErrorMessage = { QT_TRANSLATE_NOOP("kivo", "the Wayland compositor refused KIVO's virtual keyboard"), {} };
            return false;
        }
        return true;
    }

    bool TypeCharacter(char32_t Character) override
    {
        if (const std::optional<TNamedKey> Named = TWlrKeymap::NamedKeyOfCharacter(Character)) {
            // Without the caller's modifiers: a Tab typed while Shift is held is still a Tab.
            WithModifiers(0, [&] { TapKey(*Named); });
            return Flush();
        }
        const std::optional<std::uint32_t> Keycode = CharacterKeycode(Character);
        if (!Keycode)
            return false;
        WithModifiers(0, [&] {
            Key(*Keycode, true);
            Key(*Keycode, false);
        });
        return Flush();
    }

    void SendKey(TNamedKey Key_, bool Press) override
    {
        const std::uint32_t Keycode = TWlrKeymap::KeycodeOfNamedKey(Key_);
        if (!Keycode || Press == HeldKeycodes.contains(Keycode))
            return;
        Key(Keycode, Press);
        if (const std::uint32_t Mask = ModifierMaskOf(Key_)) {
            // Either Shift key holds Shift until both are up.
            if (Press)
                ++ModifierHolders[Mask];
            else if (ModifierHolders[Mask] > 0)
                --ModifierHolders[Mask];
            SendModifiers();
        } else if (Press && (Key_ == nkCapsLock || Key_ == nkNumLock)) {
            Locked ^= Key_ == nkCapsLock ? LockMask : Mod2Mask;
            SendModifiers();
        }
        Flush();
    }

    bool SendCharacterKey(char32_t Character, bool Press) override
    {
        if (const std::optional<TNamedKey> Named = TWlrKeymap::NamedKeyOfCharacter(Character)) {
            SendKey(*Named, Press);
            return true;
        }
        if (!Press) {
            // To the key the press went to.
            const auto Held = HeldCharacters.find(Character);
            if (Held == HeldCharacters.end())
                return true;
            const std::uint32_t Keycode = Held->second;
            HeldCharacters.erase(Held);
            Key(Keycode, false);
            Keymap.SetHeld(Keycode, false);
            return Flush();
        }
        if (HeldCharacters.contains(Character))
            return true;
        const std::optional<std::uint32_t> Keycode = CharacterKeycode(Character);
        if (!Keycode)
            return false;
        Keymap.SetHeld(*Keycode, true);
        HeldCharacters[Character] = *Keycode;
        Key(*Keycode, true);
        return Flush();
    }

    std::optional<TModifiers> ModifiersFor(char32_t Character) override
    {
        // Every key of our keymap has one level: nothing is needed, whatever the user holds.
        if (TWlrKeymap::NamedKeyOfCharacter(Character) || TWlrKeymap::CanCarry(Character))
            return TModifiers(0);
        return std::nullopt;
    }

    TWindowId FindWindow(const std::string& Title, const std::string& ClassName) override
    {
        ProcessPending();
        return Toplevels ? Toplevels->Find(Title, ClassName) : 0;
    }
    bool IsMinimized(TWindowId Window) override
    {
        const TWlrToplevels::TToplevel* Toplevel = Toplevels ? Toplevels->Get(Window) : nullptr;
        return Toplevel && Toplevel->Minimized;
    }
    bool RestoreWindow(TWindowId Window) override
    {
        const bool Done = Toplevels && Toplevels->SetMinimized(Window, false) && Toplevels->Activate(Window, Seat);
        Flush();
        return Done;
    }
    bool RaiseWindow(TWindowId Window) override
    {
        const bool Done = Toplevels && Toplevels->Activate(Window, Seat);
        Flush();
        return Done;
    }
    bool IconifyWindow(TWindowId Window) override
    {
        const bool Done = Toplevels && Toplevels->SetMinimized(Window, true);
        Flush();
        return Done;
    }
    std::uint32_t TickCount() override { return Milliseconds(); }

    std::optional<std::pair<int, int>> KeyRepeat() const override { return Repeat; }
    int FileDescriptor() const override { return wl_display_get_fd(Display); }

    bool ProcessPending() override
    {
        // The toolkit is not on this connection: reading here takes nothing from anyone.
        while (wl_display_prepare_read(Display) != 0) {
            if (wl_display_dispatch_pending(Display) < 0)
                return false;
        }
        wl_display_flush(Display);
        pollfd Readable { wl_display_get_fd(Display), POLLIN, 0 };
        if (poll(&Readable, 1, 0) > 0)
            wl_display_read_events(Display);
        else
            wl_display_cancel_read(Display);
        return wl_display_dispatch_pending(Display) >= 0;
    }

private:
    static const wl_seat_listener SeatListener;
    static const wl_keyboard_listener KeyboardListener;

    void SeatCapabilities(std::uint32_t Capabilities)
    {
        // Only for the repeat settings it announces; it never has a surface to type into.
        if ((Capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !Keyboard) {
            Keyboard = wl_seat_get_keyboard(Seat);
            wl_keyboard_add_listener(Keyboard, &KeyboardListener, this);
        }
    }

    std::optional<std::uint32_t> CharacterKeycode(char32_t Character)
    {
        const std::optional<TWlrKeymap::TAssignment> Assigned = Keymap.Assign(Character);
        if (!Assigned)
            return std::nullopt;
        if (Assigned->KeymapChanged && !SendKeymap())
            return std::nullopt;
        return Assigned->Keycode;
    }

    bool SendKeymap()
    {
        const std::string Text = Keymap.Text();
        const int File = memfd_create("kivo-keymap", MFD_CLOEXEC);
        if (File < 0)
            return false;
        const size_t Size = Text.size() + 1;
        bool Written = true;
        for (size_t Done = 0; Written && Done < Size;) {
            const ssize_t Count = write(File, Text.c_str() + Done, Size - Done);
            Written = Count > 0;
            Done += Written ? size_t(Count) : 0;
        }
        if (Written)
            zwp_virtual_keyboard_v1_keymap(VirtualKeyboard, KeymapFormatXkbV1, File, std::uint32_t(Size));
        // The request carries a duplicate of the descriptor.
        close(File);
        return Written;
    }

    void Key(std::uint32_t Keycode, bool Press)
    {
        const std::uint32_t Time = Milliseconds();
        zwp_virtual_keyboard_v1_key(VirtualKeyboard, Time, Keycode - 8, Press ? KeyPressed : KeyReleased);
        if (OnOwnKey)
            OnOwnKey(Time);
        if (Press)
            HeldKeycodes.insert(Keycode);
        else
            HeldKeycodes.erase(Keycode);
    }

    std::uint32_t Depressed() const
    {
        std::uint32_t Mask = 0;
        for (const auto& [Bit, Holders] : ModifierHolders)
            Mask |= Holders > 0 ? Bit : 0;
        return Mask;
    }
    void SendModifiers(std::optional<std::uint32_t> DepressedNow = std::nullopt)
    {
        zwp_virtual_keyboard_v1_modifiers(VirtualKeyboard, DepressedNow.value_or(Depressed()), 0, Locked, 0);
    }
    template <typename TSend>
    void WithModifiers(std::uint32_t Mask, TSend Send)
    {
        const bool Change = Mask != Depressed() || Locked != 0;
        if (Change)
            zwp_virtual_keyboard_v1_modifiers(VirtualKeyboard, Mask, 0, 0, 0);
        Send();
        if (Change)
            SendModifiers();
    }

    bool Flush() { return wl_display_flush(Display) >= 0 && wl_display_get_error(Display) == 0; }

    wl_display* Display = nullptr;
    wl_registry* Registry = nullptr;
    wl_seat* Seat = nullptr;
    wl_keyboard* Keyboard = nullptr;
    zwp_virtual_keyboard_manager_v1* Manager = nullptr;
    zwp_virtual_keyboard_v1* VirtualKeyboard = nullptr;
    std::unique_ptr<TWlrToplevels> Toplevels;
    TWlrKeymap Keymap;
    std::set<std::uint32_t> HeldKeycodes;
    std::map<char32_t, std::uint32_t> HeldCharacters;
    std::map<std::uint32_t, int> ModifierHolders;
    std::uint32_t Locked = 0;
    std::optional<std::pair<int, int>> Repeat;
};

const wl_seat_listener TVirtualKeyboardBackend::SeatListener = {
    .capabilities = [](void* Data, wl_seat*, std::uint32_t Capabilities) {
        static_cast<TVirtualKeyboardBackend*>(Data)->SeatCapabilities(Capabilities);
    },
    .name = [](void*, wl_seat*, const char*) {},
};

const wl_keyboard_listener TVirtualKeyboardBackend::KeyboardListener = {
    .keymap = [](void*, wl_keyboard*, std::uint32_t, std::int32_t File, std::uint32_t) { close(File); },
    .enter = [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
    .leave = [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
    .key = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    .modifiers = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    .repeat_info =
        [](void* Data, wl_keyboard*, std::int32_t Rate, std::int32_t Delay) {
            auto& Backend = *static_cast<TVirtualKeyboardBackend*>(Data);
            if (Rate > 0)
                Backend.Repeat = std::pair { int(Delay), std::max(1, int(1000 / Rate)) };
            else
                Backend.Repeat.reset();
        },
};

// Connects and reads the globals; null display when there is no Wayland session.
wl_display* Connect(wl_registry*& Registry, TGlobals& Globals)
{
    wl_display* Display = wl_display_connect(nullptr);
    if (!Display)
        return nullptr;
    Registry = wl_display_get_registry(Display);
    wl_registry_add_listener(Registry, &RegistryListener, &Globals);
    if (wl_display_roundtrip(Display) < 0) {
        wl_registry_destroy(Registry);
        wl_display_disconnect(Display);
        return nullptr;
    }
    return Display;
}

} // namespace

TWlrInputBackend::TOffer TWlrInputBackend::Probe()
{
    TGlobals Globals;
    wl_registry* Registry = nullptr;
    wl_display* Display = Connect(Registry, Globals);
    if (!Display)
        return {};
    wl_registry_destroy(Registry);
    wl_display_disconnect(Display);
    return { true, Globals.LayerShell, Globals.VirtualKeyboardManager != 0 && Globals.Seat != 0 };
}

std::unique_ptr<TWlrInputBackend> TWlrInputBackend::Create(TUserText& ErrorMessage)
{
    TGlobals Globals;
    wl_registry* Registry = nullptr;
    wl_display* Display = Connect(Registry, Globals);
    if (!Display) {
        const char* Name = std::getenv("WAYLAND_DISPLAY");
        ErrorMessage = Name && *Name ? TUserText { QT_TRANSLATE_NOOP("kivo", "cannot connect to the Wayland display %1"), { Name } }
                                     : TUserText { QT_TRANSLATE_NOOP("kivo", "cannot connect to the Wayland display wayland-0 (WAYLAND_DISPLAY is not set)"), {} };
        return nullptr;
    }
    if (!Globals.Seat || !Globals.VirtualKeyboardManager) {
        wl_registry_destroy(Registry);
        wl_display_disconnect(Display);
        ErrorMessage = { Globals.Seat ? QT_TRANSLATE_NOOP("kivo", "this Wayland desktop offers no virtual keyboard (zwp_virtual_keyboard_manager_v1)")
                                      : QT_TRANSLATE_NOOP("kivo", "this Wayland desktop has no seat to type on"), {} };
        return nullptr;
    }
    auto Backend = std::make_unique<TVirtualKeyboardBackend>(Display, Registry, Globals);
    if (!Backend->Start(ErrorMessage))
        return nullptr;
    return Backend;
}
