#include "KWinInputMethodBackend.h"

#include "IBusInputBackend.h"
#include "KWinTextState.h"

#include "input-method-unstable-v1-client.h"

#include <poll.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

namespace {

// The modifiers KIVO may hold, by their bit in the mask its keysyms carry; the map sent with
// each context names them for the program.
constexpr char ModifierNames[] = "Shift\0Control\0Mod1\0Mod4";
std::uint32_t ModifierBit(TNamedKey Key)
{
    switch (Key) {
    case nkShift:
    case nkRightShift: return 1u << 0;
    case nkControl:
    case nkRightControl: return 1u << 1;
    case nkAlt: return 1u << 2;
    case nkSuper: return 1u << 3;
    default: return 0;
    }
}
// AltGr carries no bit a program could read from a keysym: it frames no key here.
bool IsModifier(TNamedKey Key) { return ModifierBit(Key) != 0 || Key == nkAltGr; }

std::uint32_t Milliseconds()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string ToUtf8(char32_t Character)
{
    std::string Result;
    if (Character < 0x80) {
        Result += static_cast<char>(Character);
    } else if (Character < 0x800) {
        Result += static_cast<char>(0xC0 | (Character >> 6));
        Result += static_cast<char>(0x80 | (Character & 0x3F));
    } else if (Character < 0x10000) {
        Result += static_cast<char>(0xE0 | (Character >> 12));
        Result += static_cast<char>(0x80 | ((Character >> 6) & 0x3F));
        Result += static_cast<char>(0x80 | (Character & 0x3F));
    } else {
        Result += static_cast<char>(0xF0 | (Character >> 18));
        Result += static_cast<char>(0x80 | ((Character >> 12) & 0x3F));
        Result += static_cast<char>(0x80 | ((Character >> 6) & 0x3F));
        Result += static_cast<char>(0x80 | (Character & 0x3F));
    }
    return Result;
}

// KIVO_KWIN_DEBUG=FILE: what the input method hears and does, appended to FILE (KWin keeps
// the output of the program it starts among its own).
FILE* DebugLog()
{
    static FILE* Log = std::getenv("KIVO_KWIN_DEBUG") ? std::fopen(std::getenv("KIVO_KWIN_DEBUG"), "a") : nullptr;
    return Log;
}
#define KIVO_KWIN_LOG(...) (DebugLog() ? (std::fprintf(DebugLog(), "%u ", Milliseconds()), std::fprintf(DebugLog(), __VA_ARGS__), std::fputc('\n', DebugLog()), std::fflush(DebugLog())) : 0)

} // namespace

struct TKWinInputMethodBackend::TState {
    TKWinInputMethodBackend* Owner = nullptr;
    wl_display* Display = nullptr;
    wl_registry* Registry = nullptr;
    zwp_input_method_v1* InputMethod = nullptr;
    zwp_input_method_context_v1* Context = nullptr;
    bool Lost = false;
    TKWinTextState Text;
    bool ContentTypeKnown = false;
    std::uint32_t Held = 0; // modifier bits KIVO holds in the context's program
    // Per pressed key: whether its press went to a context (its release goes the same way).
    std::map<TNamedKey, bool> PressedInContext;
    // A BackSpace press that deleted through the surrounding text: its release sends nothing.
    bool BackSpaceDeleted = false;

    static const wl_registry_listener RegistryListener;
    static const zwp_input_method_v1_listener InputMethodListener;
    static const zwp_input_method_context_v1_listener ContextListener;

    void Forget()
    {
        Text.Forget();
        if (Owner->OnForget)
            Owner->OnForget();
    }

    void Flush()
    {
        if (Display && !Lost && wl_display_flush(Display) < 0 && errno != EAGAIN)
            ConnectionLost();
    }

    void ConnectionLost()
    {
        if (Lost)
            return;
        Lost = true;
        std::fprintf(stderr, "kivo: the connection to KWin as its input method was lost; typing through X11 (XWayland), into X11 programs only\n");
        Context = nullptr;
        Forget();
    }

    void Activate(zwp_input_method_context_v1* New)
    {
        KIVO_KWIN_LOG("activate");
        if (Context)
            zwp_input_method_context_v1_destroy(Context);
        Context = New;
        zwp_input_method_context_v1_add_listener(Context, &ContextListener, this);
        Text.Activated();
        ContentTypeKnown = false;
        Held = 0;
        PressedInContext.clear();
        BackSpaceDeleted = false;
        wl_array Map;
        wl_array_init(&Map);
        if (void* Data = wl_array_add(&Map, sizeof ModifierNames))
            std::memcpy(Data, ModifierNames, sizeof ModifierNames);
        zwp_input_method_context_v1_modifiers_map(Context, &Map);
        wl_array_release(&Map);
        Flush();
        Forget();
    }

    void Deactivate(zwp_input_method_context_v1* Old)
    {
        KIVO_KWIN_LOG("deactivate");
        zwp_input_method_context_v1_destroy(Old);
        if (Old != Context)
            return;
        Context = nullptr;
        Forget();
    }

    void Commit(const std::string& Utf8)
    {
        KIVO_KWIN_LOG("commit '%s' serial %u", Utf8.c_str(), Text.Serial());
        zwp_input_method_context_v1_commit_string(Context, Text.Serial(), Utf8.c_str());
        Flush();
    }

    void Keysym(std::uint32_t Sym, bool Press)
    {
        if (Sym == 0)
            return;
        KIVO_KWIN_LOG("keysym %#x %s mods %#x", Sym, Press ? "press" : "release", Held);
        zwp_input_method_context_v1_keysym(Context, Text.Serial(), Milliseconds(), Sym,
            Press ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED, Held);
        Flush();
    }
};

const wl_registry_listener TKWinInputMethodBackend::TState::RegistryListener = {
    .global = [](void* Data, wl_registry* Registry, std::uint32_t Name, const char* Interface, std::uint32_t) {
        auto* State = static_cast<TState*>(Data);
        if (std::strcmp(Interface, zwp_input_method_v1_interface.name) == 0 && !State->InputMethod) {
            State->InputMethod = static_cast<zwp_input_method_v1*>(wl_registry_bind(Registry, Name, &zwp_input_method_v1_interface, 1));
            zwp_input_method_v1_add_listener(State->InputMethod, &InputMethodListener, State);
        }
    },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

const zwp_input_method_v1_listener TKWinInputMethodBackend::TState::InputMethodListener = {
    .activate = [](void* Data, zwp_input_method_v1*, zwp_input_method_context_v1* Context) { static_cast<TState*>(Data)->Activate(Context); },
    .deactivate = [](void* Data, zwp_input_method_v1*, zwp_input_method_context_v1* Context) { static_cast<TState*>(Data)->Deactivate(Context); },
};

const zwp_input_method_context_v1_listener TKWinInputMethodBackend::TState::ContextListener = {
    .surrounding_text = [](void* Data, zwp_input_method_context_v1*, const char* Text, std::uint32_t Cursor, std::uint32_t) {
        auto* State = static_cast<TState*>(Data);
        KIVO_KWIN_LOG("surrounding '%s' cursor %u", Text ? Text : "", Cursor);
        if (!State->Text.Surrounding(Text ? Text : "", Cursor) && State->Owner->OnForget)
            State->Owner->OnForget();
    },
    .reset = [](void* Data, zwp_input_method_context_v1*) {
        KIVO_KWIN_LOG("reset");
        static_cast<TState*>(Data)->Forget();
    },
    .content_type = [](void* Data, zwp_input_method_context_v1*, [[maybe_unused]] std::uint32_t Hint, [[maybe_unused]] std::uint32_t Purpose) {
        auto* State = static_cast<TState*>(Data);
        KIVO_KWIN_LOG("content type %#x %u", Hint, Purpose);
        // KWin sends it with the whole state of the text input when a context begins and again
        // whenever the program announces its state anew: a click into the text (which asks for
        // the input panel), the focus back, another field. The caret may be elsewhere then,
        // even where the text around it reads the same.
        if (State->ContentTypeKnown)
            State->Forget();
        State->ContentTypeKnown = true;
    },
    .invoke_action = [](void*, zwp_input_method_context_v1*, std::uint32_t, std::uint32_t) {},
    .commit_state = [](void* Data, zwp_input_method_context_v1*, std::uint32_t Serial) {
        KIVO_KWIN_LOG("commit state %u", Serial);
        static_cast<TState*>(Data)->Text.CommitState(Serial);
    },
    .preferred_language = [](void*, zwp_input_method_context_v1*, const char*) {},
};

TKWinInputMethodBackend::TKWinInputMethodBackend()
    : State(std::make_unique<TState>())
{
    State->Owner = this;
}

std::unique_ptr<TKWinInputMethodBackend> TKWinInputMethodBackend::Connect(std::string& Why)
{
    if (!std::getenv("WAYLAND_SOCKET")) {
        Why = "not started by KWin as its input method (no WAYLAND_SOCKET)";
        return nullptr;
    }
    // With WAYLAND_SOCKET set, libwayland takes that descriptor and unsets the variable: no
    // one else in this process (Qt stays on X11) connects through it by mistake.
    wl_display* Display = wl_display_connect(nullptr);
    if (!Display) {
        Why = "the Wayland connection in WAYLAND_SOCKET does not answer";
        return nullptr;
    }
    std::unique_ptr<TKWinInputMethodBackend> Backend(new TKWinInputMethodBackend());
    TState& State = *Backend->State;
    State.Display = Display;
    State.Registry = wl_display_get_registry(Display);
    wl_registry_add_listener(State.Registry, &TState::RegistryListener, &State);
    if (wl_display_roundtrip(Display) < 0 || !State.InputMethod) {
        Why = "the compositor at WAYLAND_SOCKET offers KIVO no input method (zwp_input_method_v1)";
        return nullptr;
    }
    // The bind goes out now, not with the first request.
    State.Flush();
    return Backend;
}

TKWinInputMethodBackend::~TKWinInputMethodBackend()
{
    if (State->Context)
        zwp_input_method_context_v1_destroy(State->Context);
    if (State->InputMethod)
        zwp_input_method_v1_destroy(State->InputMethod);
    if (State->Registry)
        wl_registry_destroy(State->Registry);
    if (State->Display) {
        State->Flush();
        wl_display_disconnect(State->Display);
    }
}

void TKWinInputMethodBackend::Wrap(std::unique_ptr<TInputBackend> Wrapped) { Fallback = std::move(Wrapped); }

int TKWinInputMethodBackend::FileDescriptor() const { return wl_display_get_fd(State->Display); }

bool TKWinInputMethodBackend::ProcessPending()
{
    if (State->Lost)
        return false;
    wl_display* Display = State->Display;
    // Qt is not on this connection: reading here takes nothing from anyone.
    while (wl_display_prepare_read(Display) != 0) {
        if (wl_display_dispatch_pending(Display) < 0) {
            State->ConnectionLost();
            return false;
        }
    }
    State->Flush();
    pollfd Readable { wl_display_get_fd(Display), POLLIN, 0 };
    if (poll(&Readable, 1, 0) > 0) {
        if (wl_display_read_events(Display) < 0) {
            State->ConnectionLost();
            return false;
        }
    } else {
        wl_display_cancel_read(Display);
    }
    if (wl_display_dispatch_pending(Display) < 0) {
        State->ConnectionLost();
        return false;
    }
    return true;
}

bool TKWinInputMethodBackend::Committing() const { return State->Context != nullptr; }

bool TKWinInputMethodBackend::TypeCharacter(char32_t Character)
{
    if (!Committing())
        return Fallback->TypeCharacter(Character);
    if (Character == U'\n' || Character == U'\r') {
        TapKey(nkReturn);
        return true;
    }
    if (Character == U'\t') {
        TapKey(nkTab);
        return true;
    }
    State->Text.Committed(std::u32string(1, Character));
    State->Commit(ToUtf8(Character));
    return true;
}

void TKWinInputMethodBackend::SendKey(TNamedKey Key, bool Press)
{
    bool InContext = Committing();
    if (Press) {
        State->PressedInContext[Key] = InContext;
    } else if (const auto Pressed = State->PressedInContext.find(Key); Pressed != State->PressedInContext.end()) {
        const bool WasInContext = Pressed->second;
        State->PressedInContext.erase(Pressed);
        if (WasInContext != InContext) {
            // Its context is gone (and with it the held key), or it was pressed elsewhere:
            // the release goes where the press went, or nowhere.
            if (!WasInContext)
                Fallback->SendKey(Key, false);
            if (IsModifier(Key))
                State->Held &= ~ModifierBit(Key);
            return;
        }
    }
    if (!InContext) {
        Fallback->SendKey(Key, Press);
        return;
    }
    if (IsModifier(Key)) {
        // Held for the keys that follow: each keysym carries the modifiers with it.
        State->Held = Press ? (State->Held | ModifierBit(Key)) : (State->Held & ~ModifierBit(Key));
        return;
    }
    if (Key == nkBackSpace) {
        if (Press) {
            // Over a code point KIVO typed, where the program shows its text: exactly that code
            // point goes, whatever the program's own BackSpace would take with it.
            const std::size_t Bytes = State->Held == 0 ? State->Text.ErasableBytes() : 0;
            State->BackSpaceDeleted = Bytes > 0;
            State->Text.Erased();
            if (State->BackSpaceDeleted) {
                KIVO_KWIN_LOG("delete %zu bytes", Bytes);
                const auto Length = static_cast<std::uint32_t>(Bytes);
                zwp_input_method_context_v1_delete_surrounding_text(State->Context, -static_cast<std::int32_t>(Length), Length);
                // The deletion takes effect with the next committed text.
                State->Commit({});
                return;
            }
        } else if (std::exchange(State->BackSpaceDeleted, false)) {
            return;
        }
        State->Keysym(IBusKeyOf(Key).Keysym, Press);
        return;
    }
    // Any other key may move the cursor or change the text around it.
    if (Press)
        State->Text.Forget();
    State->Keysym(IBusKeyOf(Key).Keysym, Press);
}

bool TKWinInputMethodBackend::SendCharacterKey(char32_t Character, bool Press)
{
    if (!Committing())
        return Fallback->SendCharacterKey(Character, Press);
    // With Control, Alt or Super held, the program wants a key (a shortcut), not text.
    if (State->Held & ~ModifierBit(nkShift)) {
        State->Text.Forget();
        State->Keysym(xkb_utf32_to_keysym(Character), Press);
        return true;
    }
    if (Press) {
        State->Text.Committed(std::u32string(1, Character));
        State->Commit(ToUtf8(Character));
    }
    return true;
}

std::optional<TModifiers> TKWinInputMethodBackend::ModifiersFor(char32_t Character)
{
    if (!Committing())
        return Fallback->ModifiersFor(Character);
    // Committed text needs no modifiers.
    return TModifiers(0);
}

TWindowId TKWinInputMethodBackend::FindWindow(const std::string& Title, const std::string& ClassName)
{
    return Fallback->FindWindow(Title, ClassName);
}
bool TKWinInputMethodBackend::IsMinimized(TWindowId Window) { return Fallback->IsMinimized(Window); }
bool TKWinInputMethodBackend::RestoreWindow(TWindowId Window) { return Fallback->RestoreWindow(Window); }
bool TKWinInputMethodBackend::RaiseWindow(TWindowId Window) { return Fallback->RaiseWindow(Window); }
bool TKWinInputMethodBackend::IconifyWindow(TWindowId Window) { return Fallback->IconifyWindow(Window); }
std::uint32_t TKWinInputMethodBackend::TickCount() { return Fallback->TickCount(); }
