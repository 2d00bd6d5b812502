#include "KWinInputMethodBackend.h"

#include "NamedKeys.h"
#include "KWinTextState.h"

#include "input-method-unstable-v1-client.h"

#include <poll.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
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
    // The last event was the content type: KWin's account of the whole state ends with it and
    // the serial. A serial on its own is a text input that commits its state itself (the newer
    // protocol): KWin then sends the whole account after every change, not only when the program
    // announces its state anew.
    bool AfterContentType = false;
    bool CommitsItsOwnState = false;
    std::uint32_t Held = 0; // modifier bits KIVO holds in the context's program
    // Per pressed key: whether its press went to a context (its release goes the same way).
    std::map<TNamedKey, bool> PressedInContext;
    // A BackSpace press that deleted through the surrounding text: its release sends nothing.
    bool BackSpaceDeleted = false;
    // Text that waits for a key sent just before it (Keysym).
    std::function<void(int, std::function<void()>)> Later;
    std::string HeldBack;
    std::uint32_t HoldCommitsUntil = 0;
    bool HeldBackScheduled = false;
    // The program's last surrounding text (with its cursor), and what it was when a key that
    // changes the text went out; the held-back text waits for a different one.
    std::string LastReport;
    std::string ReportAtKey;
    bool KeyAwaited = false;
    // What a scheduled commit checks: gone with the backend.
    std::shared_ptr<int> Token = std::make_shared<int>(0);

    static const wl_registry_listener RegistryListener;
    static const zwp_input_method_v1_listener InputMethodListener;
    static const zwp_input_method_context_v1_listener ContextListener;

    void Forget()
    {
        KIVO_KWIN_LOG("forget");
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
        ReportToUser({ QT_TRANSLATE_NOOP("kivo", "the connection to KWin as its input method was lost; typing through X11 (XWayland), into X11 programs only"), {} });
        Context = nullptr;
        Forget();
    }

    void Activate(zwp_input_method_context_v1* New)
    {
        KIVO_KWIN_LOG("activate");
        if (Context) {
            CommitHeldBack(false);
            zwp_input_method_context_v1_destroy(Context);
        }
        Context = New;
        zwp_input_method_context_v1_add_listener(Context, &ContextListener, this);
        Text.Activated();
        ContentTypeKnown = false;
        AfterContentType = false;
        CommitsItsOwnState = false;
        Held = 0;
        KeyAwaited = false;
        HoldCommitsUntil = Milliseconds();
        LastReport.clear();
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
        if (Old == Context)
            CommitHeldBack(false);
        zwp_input_method_context_v1_destroy(Old);
        if (Old != Context)
            return;
        Context = nullptr;
        Forget();
    }

    void Commit(const std::string& Utf8)
    {
        HeldBack += Utf8;
        const std::uint32_t Now = Milliseconds();
        if (static_cast<std::int32_t>(HoldCommitsUntil - Now) <= 0 || !Later) {
            CommitHeldBack(Utf8.empty());
            return;
        }
        ScheduleHeldBack();
    }

    void ScheduleHeldBack()
    {
        if (HeldBackScheduled)
            return;
        HeldBackScheduled = true;
        const auto Wait = static_cast<std::int32_t>(HoldCommitsUntil - Milliseconds());
        Later(std::max(Wait, 0) + 1, [this, Alive = std::weak_ptr<int>(Token)] {
            if (Alive.expired())
                return;
            HeldBackScheduled = false;
            // A later key may have held the text longer.
            if (static_cast<std::int32_t>(HoldCommitsUntil - Milliseconds()) > 0 && !HeldBack.empty())
                return ScheduleHeldBack();
            CommitHeldBack(false);
        });
    }

    // Empty text is committed only when asked (it carries a deletion).
    void CommitHeldBack(bool EvenEmpty)
    {
        if (!Context || (HeldBack.empty() && !EvenEmpty)) {
            HeldBack.clear();
            return;
        }
        KIVO_KWIN_LOG("commit '%s' serial %u", HeldBack.c_str(), Text.Serial());
        zwp_input_method_context_v1_commit_string(Context, Text.Serial(), HeldBack.c_str());
        HeldBack.clear();
        Flush();
    }

    void Keysym(std::uint32_t Sym, bool Press)
    {
        if (Sym == 0)
            return;
        CommitHeldBack(false);
        // For the newer text input KWin turns the keysym into a key of the seat's keyboard,
        // which the program may handle after text committed later (GTK 4 does, by 50 ms and
        // more under load): that text waits until the program reports its text changed, for a
        // key that changes it, or a while.
        if (CommitsItsOwnState && Press) {
            HoldCommitsUntil = Milliseconds() + (Sym == XKB_KEY_BackSpace ? 300 : 60);
            KeyAwaited = Sym == XKB_KEY_BackSpace;
            ReportAtKey = LastReport;
        }
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
        State->AfterContentType = false;
        const std::string Report = std::string(Text ? Text : "") + '\0' + std::to_string(Cursor);
        if (!State->Text.Surrounding(Text ? Text : "", Cursor) && State->Owner->OnForget) {
            KIVO_KWIN_LOG("the text before the cursor is not what KIVO typed: forget");
            State->Owner->OnForget();
        }
        // The program has handled the key the held-back text waits for.
        if (State->KeyAwaited && Report != State->ReportAtKey) {
            State->KeyAwaited = false;
            State->HoldCommitsUntil = Milliseconds();
            State->CommitHeldBack(false);
        }
        State->LastReport = Report;
    },
    .reset = [](void* Data, zwp_input_method_context_v1*) {
        KIVO_KWIN_LOG("reset");
        static_cast<TState*>(Data)->AfterContentType = false;
        static_cast<TState*>(Data)->Forget();
    },
    .content_type = [](void* Data, zwp_input_method_context_v1*, [[maybe_unused]] std::uint32_t Hint, [[maybe_unused]] std::uint32_t Purpose) {
        auto* State = static_cast<TState*>(Data);
        KIVO_KWIN_LOG("content type %#x %u", Hint, Purpose);
        // KWin sends it with the whole state of the text input when a context begins and, for
        // a text input of the older protocol (Qt 5), again only when the program announces its
        // state anew: a click into the text (which asks for the input panel), the focus back,
        // another field. The caret may be elsewhere then, even where the text around it reads
        // the same. Of the newer protocol, only the surrounding text tells.
        if (State->ContentTypeKnown && !State->CommitsItsOwnState)
            State->Forget();
        State->ContentTypeKnown = true;
        State->AfterContentType = true;
    },
    .invoke_action = [](void*, zwp_input_method_context_v1*, std::uint32_t, std::uint32_t) {},
    .commit_state = [](void* Data, zwp_input_method_context_v1*, std::uint32_t Serial) {
        auto* State = static_cast<TState*>(Data);
        KIVO_KWIN_LOG("commit state %u%s", Serial, State->AfterContentType ? "" : " (its own)");
        if (!State->AfterContentType)
            State->CommitsItsOwnState = true;
        State->AfterContentType = false;
        State->Text.CommitState(Serial);
    },
    .preferred_language = [](void*, zwp_input_method_context_v1*, const char*) {},
};

TKWinInputMethodBackend::TKWinInputMethodBackend()
    : State(std::make_unique<TState>())
{
    State->Owner = this;
}

std::unique_ptr<TKWinInputMethodBackend> TKWinInputMethodBackend::Connect(TUserText& Why)
{
    if (!std::getenv("WAYLAND_SOCKET")) {
        Why = { QT_TRANSLATE_NOOP("kivo", "not started by KWin as its input method (no WAYLAND_SOCKET)"), {} };
        return nullptr;
    }
    // With WAYLAND_SOCKET set, libwayland takes that descriptor and unsets the variable: no
    // one else in this process (Qt stays on X11) connects through it by mistake.
    wl_display* Display = wl_display_connect(nullptr);
    if (!Display) {
        Why = { QT_TRANSLATE_NOOP("kivo", "the Wayland connection in WAYLAND_SOCKET does not answer"), {} };
        return nullptr;
    }
    std::unique_ptr<TKWinInputMethodBackend> Backend(new TKWinInputMethodBackend());
    TState& State = *Backend->State;
    State.Display = Display;
    State.Registry = wl_display_get_registry(Display);
    wl_registry_add_listener(State.Registry, &TState::RegistryListener, &State);
    if (wl_display_roundtrip(Display) < 0 || !State.InputMethod) {
        Why = { QT_TRANSLATE_NOOP("kivo", "the compositor at WAYLAND_SOCKET offers KIVO no input method (zwp_input_method_v1)"), {} };
        return nullptr;
    }
    // The bind goes out now, not with the first request.
    State.Flush();
    return Backend;
}

TKWinInputMethodBackend::~TKWinInputMethodBackend()
{
    State->CommitHeldBack(false);
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

void TKWinInputMethodBackend::Wrap(std::unique_ptr<TInputBackend> Wrapped, std::function<void(int, std::function<void()>)> Later)
{
    Fallback = std::move(Wrapped);
    State->Later = std::move(Later);
}

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

void TKWinInputMethodBackend::Commit(char32_t Character)
{
    State->Text.Committed(std::u32string(1, Character));
    State->Commit(ToUtf8(Character));
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
            // point goes, whatever the program's own BackSpace would take with it. Not through
            // the newer text input: GTK 4.8 takes the deletion's bytes for characters (two
            // bytes of α, and the space before it went too); its BackSpace key takes one.
            const bool Deletes = State->Held == 0 && !State->CommitsItsOwnState;
            const std::size_t Bytes = Deletes ? State->Text.ErasableBytes() : 0;
            State->BackSpaceDeleted = Bytes > 0;
            State->Text.Erased();
            if (State->BackSpaceDeleted) {
                KIVO_KWIN_LOG("delete %zu bytes", Bytes);
                const auto Length = static_cast<std::uint32_t>(Bytes);
                State->CommitHeldBack(false);
                zwp_input_method_context_v1_delete_surrounding_text(State->Context, -static_cast<std::int32_t>(Length), Length);
                // The deletion takes effect with the next committed text.
                State->CommitHeldBack(true);
                return;
            }
        } else if (std::exchange(State->BackSpaceDeleted, false)) {
            return;
        }
        State->Keysym(LinuxKeyOf(Key).Keysym, Press);
        return;
    }
    // Any other key may move the cursor or change the text around it.
    if (Press)
        State->Text.Forget();
    State->Keysym(LinuxKeyOf(Key).Keysym, Press);
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

