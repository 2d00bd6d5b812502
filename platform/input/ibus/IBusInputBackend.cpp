#include "IBusInputBackend.h"
#include "NamedKeys.h"
#include "UserText.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <ibus.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace {

// The component's bus name: ibus-daemon finds the engine's factory by it, and starts KIVO
// (the component file's <exec>) when the user chooses the engine and no KIVO owns it.
constexpr const char* ComponentName = "org.kivo.kivo.IBus";
constexpr const char* EngineName = "kivo";

struct TEngineInfo {
    guint Capabilities = 0;
    bool SurroundingSeen = false;
};

// The key code of an ASCII letter or digit on a "us" keyboard, for shortcuts (Ctrl+C) that a
// program interprets by key, not by text.
unsigned LatinKeycode(char32_t Character)
{
    static constexpr unsigned Letters[26] = { 30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
        49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44 };
    if (Character >= U'a' && Character <= U'z')
        return Letters[Character - U'a'];
    if (Character >= U'A' && Character <= U'Z')
        return Letters[Character - U'A'];
    if (Character >= U'1' && Character <= U'9')
        return 2 + unsigned(Character - U'1');
    if (Character == U'0')
        return 11;
    return 0;
}

unsigned KeysymOf(char32_t Character)
{
    if ((Character >= 0x20 && Character <= 0x7E) || (Character >= 0xA0 && Character <= 0xFF))
        return unsigned(Character);
    return 0x01000000u | unsigned(Character);
}

// What a held modifier adds to the state of a key event.
guint ModifierMask(TNamedKey Key)
{
    switch (Key) {
    case nkShift:
    case nkRightShift: return IBUS_SHIFT_MASK;
    case nkControl:
    case nkRightControl: return IBUS_CONTROL_MASK;
    case nkAlt: return IBUS_MOD1_MASK;
    case nkAltGr: return IBUS_MOD5_MASK;
    case nkSuper: return IBUS_MOD4_MASK | IBUS_SUPER_MASK;
    default: return 0;
    }
}

std::u32string ToU32(const gchar* Utf8, glong Length)
{
    std::u32string Result;
    const gchar* End = Utf8;
    for (glong Index = 0; Index < Length && *End; ++Index) {
        Result += char32_t(g_utf8_get_char(End));
        End = g_utf8_next_char(End);
    }
    return Result;
}

// KIVO_IBUS_DEBUG=FILE: what the engine hears and does, appended to FILE (ibus-daemon keeps
// the output of the programs it starts to itself).
FILE* DebugLog()
{
    static FILE* Log = g_getenv("KIVO_IBUS_DEBUG") ? std::fopen(g_getenv("KIVO_IBUS_DEBUG"), "a") : nullptr;
    return Log;
}
#define KIVO_IBUS_LOG(...) (DebugLog() ? (std::fprintf(DebugLog(), "%lld ", (long long)(g_get_monotonic_time() / 1000)), std::fprintf(DebugLog(), __VA_ARGS__), std::fputc('\n', DebugLog()), std::fflush(DebugLog())) : 0)

} // namespace


// Everything that lives on the GLib side: the bus, the factory, the engines ibus-daemon made.
// All of it runs on the main thread's default GLib context, which Qt's event loop runs.
struct TIBusInputBackend::TState {
    TIBusInputBackend* Owner = nullptr;
    IBusBus* Bus = nullptr;
    IBusFactory* Factory = nullptr;
    std::map<IBusEngine*, TEngineInfo> Engines;
    // The engine whose input context has the focus; KIVO types there.
    IBusEngine* Focused = nullptr;
    TEngineState EngineState = esUnknown;
    TTypedTail Tail;
    guint Held = 0; // modifier mask of the modifiers KIVO holds through IBus
    // Per pressed key: whether its press went through IBus (its release goes the same way).
    std::map<TNamedKey, bool> PressedThroughIBus;
    // A BackSpace press that deleted through surrounding text: its release sends nothing.
    bool BackSpaceDeleted = false;
    guint NoDaemonTimer = 0;
    unsigned EngineCount = 0;
    // A forwarded key reaches the program by another road than committed text (on GNOME through
    // the compositor's event queue): text that follows it waits a moment, so as not to overtake.
    gint64 HoldCommitsUntil = 0;
    std::string HeldBack;
    guint HeldBackTimer = 0;
    // On a Wayland desktop, KIVO's X11 connection: an X11 program with the focus gets KIVO's
    // keys through X11, whatever focus the desktop's input method context claims.
    Display* XDisplay = nullptr;
    Atom WmState = None;
    Atom WmPid = None;

    bool X11ProgramFocused() const
    {
        if (!XDisplay)
            return false;
        Window Focus = None;
        int Revert = 0;
        XGetInputFocus(XDisplay, &Focus, &Revert);
        if (Focus == None || Focus == PointerRoot || Focus == DefaultRootWindow(XDisplay))
            return false;
        // A window the window manager manages (not its own stand-in for "no X11 window"), and
        // not one of KIVO's own (a click on the keypad may hand it the X focus for a moment).
        auto Property = [&](Atom Name, long& Value) {
            Atom Type = None;
            int Format = 0;
            unsigned long Count = 0, After = 0;
            unsigned char* Data = nullptr;
            const bool Found = XGetWindowProperty(XDisplay, Focus, Name, 0, 1, False, AnyPropertyType, &Type, &Format, &Count, &After, &Data) == Success
                && Type != None;
            Value = Found && Data && Count > 0 && Format == 32 ? *reinterpret_cast<long*>(Data) : 0;
            if (Data)
                XFree(Data);
            return Found;
        };
        long Value = 0;
        const bool Managed = Property(WmState, Value);
        const bool Own = Property(WmPid, Value) && Value == long(getpid());
        KIVO_IBUS_LOG("X focus %#lx managed %d own %d", Focus, Managed, Own);
        return Managed && !Own;
        return Managed;
    }

    void SetEngineState(TEngineState State)
    {
        if (State == EngineState)
            return;
        EngineState = State;
        if (Owner->OnEngineStateChanged)
            Owner->OnEngineStateChanged(State);
    }

    void Forget()
    {
        Tail.Forget();
        if (Owner->OnForget)
            Owner->OnForget();
    }

    void Connected()
    {
        if (NoDaemonTimer) {
            g_source_remove(NoDaemonTimer);
            NoDaemonTimer = 0;
        }
        GDBusConnection* Connection = ibus_bus_get_connection(Bus);
        Factory = ibus_factory_new(Connection);
        g_object_ref_sink(Factory);
        g_signal_connect(Factory, "create-engine", G_CALLBACK(+[](IBusFactory*, gchar* Name, gpointer Data) -> IBusEngine* {
            return static_cast<TState*>(Data)->CreateEngine(Name);
        }), this);
        ibus_bus_request_name_async(Bus, ComponentName, 0, -1, nullptr, +[](GObject* Source, GAsyncResult* Result, gpointer) {
            GError* Error = nullptr;
            ibus_bus_request_name_async_finish(IBUS_BUS(Source), Result, &Error);
            if (Error) {
                ReportToUser({ QT_TRANSLATE_NOOP("kivo", "IBus did not give KIVO's engine its name: %1"), { Error->message } });
                g_error_free(Error);
            }
        }, nullptr);
        ibus_bus_set_watch_ibus_signal(Bus, TRUE);
        // Asynchronous: the daemon may call back into this process's factory meanwhile.
        ibus_bus_get_global_engine_async(Bus, -1, nullptr, +[](GObject* Source, GAsyncResult* Result, gpointer Data) {
            IBusEngineDesc* Engine = ibus_bus_get_global_engine_async_finish(IBUS_BUS(Source), Result, nullptr);
            auto* State = static_cast<TState*>(Data);
            State->GlobalEngineIs(Engine ? ibus_engine_desc_get_name(Engine) : "");
            if (Engine)
                g_object_unref(Engine);
        }, this);
    }

    void Disconnected()
    {
        Focused = nullptr;
        Engines.clear();
        if (Factory) {
            g_object_unref(Factory);
            Factory = nullptr;
        }
        Forget();
        SetEngineState(esNoIBus);
    }

    void GlobalEngineIs(const gchar* Name)
    {
        SetEngineState(g_strcmp0(Name, EngineName) == 0 ? esChosen : esNotChosen);
    }

    IBusEngine* CreateEngine(const gchar* Name)
    {
        if (g_strcmp0(Name, EngineName) != 0)
            return nullptr;
        gchar* Path = g_strdup_printf("/org/kivo/kivo/IBus/Engine/%u", ++EngineCount);
        IBusEngine* Engine = ibus_engine_new_with_type(IBUS_TYPE_ENGINE, Name, Path, ibus_bus_get_connection(Bus));
        g_free(Path);
        Engines[Engine] = {};
        auto Connect = [&](const char* Signal, GCallback Callback) { g_signal_connect(Engine, Signal, Callback, this); };
        Connect("focus-in", G_CALLBACK(+[](IBusEngine* Engine, gpointer Data) {
            auto* State = static_cast<TState*>(Data);
            KIVO_IBUS_LOG("focus in");
            if (State->Focused != Engine)
                State->Forget();
            State->Focused = Engine;
            State->SetEngineState(esChosen);
            // The context sends its text around the cursor only to an engine that asked once.
            IBusText* Text = nullptr;
            guint Cursor = 0;
            guint Anchor = 0;
            ibus_engine_get_surrounding_text(Engine, &Text, &Cursor, &Anchor);
        }));
        Connect("focus-out", G_CALLBACK(+[](IBusEngine* Engine, gpointer Data) { static_cast<TState*>(Data)->Unfocus(Engine); }));
        Connect("disable", G_CALLBACK(+[](IBusEngine* Engine, gpointer Data) { static_cast<TState*>(Data)->Unfocus(Engine); }));
        Connect("destroy", G_CALLBACK(+[](IBusEngine* Engine, gpointer Data) {
            auto* State = static_cast<TState*>(Data);
            State->Unfocus(Engine);
            State->Engines.erase(Engine);
        }));
        Connect("reset", G_CALLBACK(+[](IBusEngine* Engine, gpointer Data) {
            auto* State = static_cast<TState*>(Data);
            KIVO_IBUS_LOG("reset");
            if (State->Focused == Engine)
                State->Forget();
        }));
        Connect("set-capabilities", G_CALLBACK(+[](IBusEngine* Engine, guint Capabilities, gpointer Data) {
            KIVO_IBUS_LOG("capabilities %#x", Capabilities);
            static_cast<TState*>(Data)->Engines[Engine].Capabilities = Capabilities;
        }));
        Connect("set-surrounding-text", G_CALLBACK(+[](IBusEngine* Engine, IBusText* Text, guint Cursor, guint, gpointer Data) {
            auto* State = static_cast<TState*>(Data);
            State->Engines[Engine].SurroundingSeen = true;
            KIVO_IBUS_LOG("surrounding %s cursor %u (focused %d)", Text ? ibus_text_get_text(Text) : "-", Cursor, State->Focused == Engine);
            if (State->Focused != Engine || !Text)
                return;
            // The cursor counts characters; gnome-shell 43 passes on the compositor's byte offset.
            const gchar* Utf8 = ibus_text_get_text(Text);
            const glong Characters = g_utf8_strlen(Utf8, -1);
            glong Before = glong(Cursor);
            if (Before > Characters && Cursor <= std::strlen(Utf8))
                Before = g_utf8_pointer_to_offset(Utf8, Utf8 + Cursor);
            if (!State->Tail.Agrees(ToU32(Utf8, Before)) && State->Owner->OnForget)
                State->Owner->OnForget();
        }));
        return Engine;
    }

    void Unfocus(IBusEngine* Engine)
    {
        KIVO_IBUS_LOG("focus out");
        if (Focused != Engine)
            return;
        Focused = nullptr;
        Forget();
    }

    bool OffersSurrounding() const
    {
        const auto Info = Engines.find(Focused);
        return Info != Engines.end() && (Info->second.Capabilities & IBUS_CAP_SURROUNDING_TEXT) && Info->second.SurroundingSeen;
    }

    void Forward(TLinuxKey Key, bool Press, guint Modifiers)
    {
        if (Key.Keysym == 0)
            return;
        CommitHeldBack();
        KIVO_IBUS_LOG("key %#x %s", Key.Keysym, Press ? "press" : "release");
        ibus_engine_forward_key_event(Focused, Key.Keysym, Key.EvdevCode, Modifiers | (Press ? 0 : IBUS_RELEASE_MASK));
        HoldCommitsUntil = g_get_monotonic_time() + 40 * 1000;
    }

    void Commit(char32_t Character)
    {
        gchar Utf8[8] = {};
        g_unichar_to_utf8(gunichar(Character), Utf8);
        Tail.Committed(std::u32string(1, Character));
        HeldBack += Utf8;
        const gint64 Now = g_get_monotonic_time();
        if (Now >= HoldCommitsUntil) {
            CommitHeldBack();
        } else if (!HeldBackTimer) {
            HeldBackTimer = g_timeout_add(guint((HoldCommitsUntil - Now) / 1000 + 1), +[](gpointer Data) -> gboolean {
                auto* State = static_cast<TState*>(Data);
                State->HeldBackTimer = 0;
                State->CommitHeldBack();
                return G_SOURCE_REMOVE;
            }, this);
        }
    }

    void CommitHeldBack()
    {
        if (HeldBackTimer) {
            g_source_remove(HeldBackTimer);
            HeldBackTimer = 0;
        }
        if (HeldBack.empty() || !Focused)
            return HeldBack.clear();
        KIVO_IBUS_LOG("commit %s", HeldBack.c_str());
        ibus_engine_commit_text(Focused, ibus_text_new_from_string(HeldBack.c_str()));
        HeldBack.clear();
    }
};

TIBusInputBackend::TIBusInputBackend(std::unique_ptr<TInputBackend> Fallback)
    : TCommittingInputBackend(std::move(Fallback))
    , State(std::make_unique<TState>())
{
    State->Owner = this;
}

std::unique_ptr<TIBusInputBackend> TIBusInputBackend::Create(std::unique_ptr<TInputBackend> Fallback)
{
    std::unique_ptr<TIBusInputBackend> Backend(new TIBusInputBackend(std::move(Fallback)));
    TState* State = Backend->State.get();
    if (g_getenv("WAYLAND_DISPLAY") && (State->XDisplay = XOpenDisplay(nullptr)))
    {
        State->WmState = XInternAtom(State->XDisplay, "WM_STATE", False);
        State->WmPid = XInternAtom(State->XDisplay, "_NET_WM_PID", False);
    }
    ibus_init();
    // The bus follows the daemon: it connects when one starts (also later) and again after a
    // restart.
    State->Bus = ibus_bus_new_async();
    g_signal_connect(State->Bus, "connected", G_CALLBACK(+[](IBusBus*, gpointer Data) { static_cast<TState*>(Data)->Connected(); }), State);
    g_signal_connect(State->Bus, "disconnected", G_CALLBACK(+[](IBusBus*, gpointer Data) { static_cast<TState*>(Data)->Disconnected(); }), State);
    g_signal_connect(State->Bus, "global-engine-changed", G_CALLBACK(+[](IBusBus*, gchar* Name, gpointer Data) {
        static_cast<TState*>(Data)->GlobalEngineIs(Name);
    }), State);
    if (ibus_bus_is_connected(State->Bus)) {
        State->Connected();
    } else {
        State->NoDaemonTimer = g_timeout_add(2000, +[](gpointer Data) -> gboolean {
            auto* State = static_cast<TState*>(Data);
            State->NoDaemonTimer = 0;
            if (!ibus_bus_is_connected(State->Bus))
                State->SetEngineState(esNoIBus);
            return G_SOURCE_REMOVE;
        }, State);
    }
    return Backend;
}

TIBusInputBackend::~TIBusInputBackend()
{
    // A modifier KIVO holds in the program is let go.
    if (State->Focused)
        for (const auto& [Key, ThroughIBus] : State->PressedThroughIBus)
            if (ThroughIBus && ModifierMask(Key))
                State->Forward(LinuxKeyOf(Key), false, 0);
    State->CommitHeldBack();
    if (State->NoDaemonTimer)
        g_source_remove(State->NoDaemonTimer);
    if (State->XDisplay)
        XCloseDisplay(State->XDisplay);
    if (State->Bus) {
        g_signal_handlers_disconnect_by_data(State->Bus, State.get());
        for (const auto& [Engine, Info] : State->Engines)
            g_signal_handlers_disconnect_by_data(Engine, State.get());
        if (State->Factory)
            g_object_unref(State->Factory);
        g_object_unref(State->Bus);
    }
}

TIBusInputBackend::TEngineState TIBusInputBackend::EngineState() const { return State->EngineState; }

bool TIBusInputBackend::Committing() const { return State->Focused != nullptr && !State->X11ProgramFocused(); }

bool TIBusInputBackend::TypeCharacter(char32_t Character)
{
    KIVO_IBUS_LOG("type U+%04X (engine focused: %d)", unsigned(Character), State->Focused != nullptr);
    return TCommittingInputBackend::TypeCharacter(Character);
}

void TIBusInputBackend::Commit(char32_t Character) { State->Commit(Character); }

void TIBusInputBackend::SendKey(TNamedKey Key, bool Press)
{
    bool ThroughIBus = Committing();
    if (Press) {
        State->PressedThroughIBus[Key] = ThroughIBus;
    } else if (const auto Pressed = State->PressedThroughIBus.find(Key); Pressed != State->PressedThroughIBus.end()) {
        ThroughIBus = Pressed->second && Committing();
        const bool WasThroughIBus = Pressed->second;
        State->PressedThroughIBus.erase(Pressed);
        if (WasThroughIBus && !Committing())
            return; // its context is gone, and with it the held key
    }
    if (!ThroughIBus) {
        Fallback->SendKey(Key, Press);
        return;
    }
    if (const guint Mask = ModifierMask(Key)) {
        State->Forward(LinuxKeyOf(Key), Press, State->Held);
        State->Held = Press ? (State->Held | Mask) : (State->Held & ~Mask);
        return;
    }
    if (Key == nkBackSpace) {
        // Over a code point KIVO typed, where the program shows its text: that code point is
        // removed exactly, whatever the program's own BackSpace would take with it.
        if (Press) {
            State->BackSpaceDeleted = State->Held == 0 && State->Tail.Typed() > 0 && State->OffersSurrounding();
            if (State->BackSpaceDeleted) {
                KIVO_IBUS_LOG("delete surrounding");
                State->CommitHeldBack();
                ibus_engine_delete_surrounding_text(State->Focused, -1, 1);
                State->Tail.Erased();
                return;
            }
            State->Tail.Erased();
        } else if (std::exchange(State->BackSpaceDeleted, false)) {
            return;
        }
        State->Forward(LinuxKeyOf(Key), Press, State->Held);
        return;
    }
    // Any other key may move the cursor or change the text around it.
    if (Press)
        State->Tail.Forget();
    State->Forward(LinuxKeyOf(Key), Press, State->Held);
}

bool TIBusInputBackend::SendCharacterKey(char32_t Character, bool Press)
{
    if (!Committing())
        return Fallback->SendCharacterKey(Character, Press);
    // With Control, Alt or Super held, the program wants a key (a shortcut), not text.
    if (State->Held & ~guint(IBUS_SHIFT_MASK)) {
        State->Tail.Forget();
        State->Forward({ KeysymOf(Character), LatinKeycode(Character) }, Press, State->Held);
        return true;
    }
    if (Press)
        State->Commit(Character);
    return true;
}

