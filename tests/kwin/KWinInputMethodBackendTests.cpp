// KIVO as KWin's input method against a compositor of the test's own (the same protocol on a
// socket pair handed over in WAYLAND_SOCKET, as KWin does): which requests its typing becomes,
// with which serials and byte counts, and when it types through the backend it wraps instead.
#include "KWinInputMethodBackend.h"
#include "RecordingInputBackend.h"

#include "input-method-unstable-v1-server.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <wayland-server.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

// The compositor's side: one input method global, the requests of the context as text.
class TCompositor {
public:
    TCompositor()
    {
        Display = wl_display_create();
        wl_global_create(Display, &zwp_input_method_v1_interface, 1, this, [](wl_client* Client, void* Data, std::uint32_t Version, std::uint32_t Id) {
            auto* Self = static_cast<TCompositor*>(Data);
            Self->InputMethod = wl_resource_create(Client, &zwp_input_method_v1_interface, static_cast<int>(Version), Id);
        });
        int Fds[2];
        socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, Fds);
        Client = wl_client_create(Display, Fds[0]);
        setenv("WAYLAND_SOCKET", std::to_string(Fds[1]).c_str(), 1);
    }
    ~TCompositor()
    {
        wl_display_destroy_clients(Display);
        wl_display_destroy(Display);
    }

    // The client connects while the compositor answers on a thread of its own; from then on
    // the test takes turns between the two on its one thread.
    std::unique_ptr<TKWinInputMethodBackend> Connect(TUserText& Why)
    {
        std::atomic<bool> Done = false;
        std::thread Serving([&] {
            while (!Done) {
                wl_event_loop_dispatch(wl_display_get_event_loop(Display), 5);
                wl_display_flush_clients(Display);
            }
        });
        auto Backend = TKWinInputMethodBackend::Connect(Why);
        Done = true;
        Serving.join();
        Serve(); // the bind
        return Backend;
    }

    // The client's requests so far, read and handled.
    void Serve()
    {
        wl_event_loop_dispatch(wl_display_get_event_loop(Display), 20);
        wl_display_flush_clients(Display);
    }
    void Send() { wl_display_flush_clients(Display); }

    void Activate()
    {
        Context = wl_resource_create(Client, &zwp_input_method_context_v1_interface, 1, 0);
        wl_resource_set_implementation(Context, &ContextRequests, this, nullptr);
        zwp_input_method_v1_send_activate(InputMethod, Context);
    }
    void Deactivate() { zwp_input_method_v1_send_deactivate(InputMethod, Context); }

    wl_resource* Context = nullptr;
    std::vector<std::string> Requests;

private:
    static void Note(wl_resource* Resource, std::string Request) { static_cast<TCompositor*>(wl_resource_get_user_data(Resource))->Requests.push_back(std::move(Request)); }
    static const struct zwp_input_method_context_v1_interface ContextRequests;

    wl_display* Display = nullptr;
    wl_client* Client = nullptr;
    wl_resource* InputMethod = nullptr;
};

const struct zwp_input_method_context_v1_interface TCompositor::ContextRequests = {
    .destroy = [](wl_client*, wl_resource* R) { wl_resource_destroy(R); },
    .commit_string = [](wl_client*, wl_resource* R, std::uint32_t Serial, const char* Text) { Note(R, "commit " + std::to_string(Serial) + " '" + Text + "'"); },
    .preedit_string = [](wl_client*, wl_resource* R, std::uint32_t, const char*, const char*) { Note(R, "preedit"); },
    .preedit_styling = [](wl_client*, wl_resource*, std::uint32_t, std::uint32_t, std::uint32_t) {},
    .preedit_cursor = [](wl_client*, wl_resource*, std::int32_t) {},
    .delete_surrounding_text = [](wl_client*, wl_resource* R, std::int32_t Index, std::uint32_t Length) { Note(R, "delete " + std::to_string(Index) + " " + std::to_string(Length)); },
    .cursor_position = [](wl_client*, wl_resource*, std::int32_t, std::int32_t) {},
    .modifiers_map = [](wl_client*, wl_resource*, wl_array*) {},
    .keysym = [](wl_client*, wl_resource* R, std::uint32_t Serial, std::uint32_t, std::uint32_t Sym, std::uint32_t State, std::uint32_t Modifiers) {
        char Text[64];
        std::snprintf(Text, sizeof Text, "keysym %u %#x %s %u", Serial, Sym, State ? "down" : "up", Modifiers);
        Note(R, Text);
    },
    .grab_keyboard = [](wl_client*, wl_resource* R, std::uint32_t) { Note(R, "grab"); },
    .key = [](wl_client*, wl_resource* R, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) { Note(R, "key"); },
    .modifiers = [](wl_client*, wl_resource* R, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) { Note(R, "modifiers"); },
    .language = [](wl_client*, wl_resource*, std::uint32_t, const char*) {},
    .text_direction = [](wl_client*, wl_resource*, std::uint32_t, std::uint32_t) {},
};

class KWinInputMethod : public testing::Test {
protected:
    void SetUp() override
    {
        TUserText Why;
        Backend = Compositor.Connect(Why);
        ASSERT_TRUE(Backend) << Why.English();
        auto Wrapped = std::make_unique<TRecordingInputBackend>();
        Recording = Wrapped.get();
        Backend->Wrap(std::move(Wrapped));
        Backend->OnForget = [this] { ++Forgotten; };
    }
    // The compositor's events reach the backend.
    void Deliver()
    {
        Compositor.Send();
        ASSERT_TRUE(Backend->ProcessPending());
    }
    void ActivateWithSerial(std::uint32_t Serial)
    {
        // As KWin begins a context for a program of the older text input (Qt 5).
        Compositor.Activate();
        zwp_input_method_context_v1_send_content_type(Compositor.Context, 0, 0);
        zwp_input_method_context_v1_send_commit_state(Compositor.Context, Serial);
        Deliver();
    }
    void Surrounding(const char* Text, std::uint32_t Cursor)
    {
        zwp_input_method_context_v1_send_surrounding_text(Compositor.Context, Text, Cursor, Cursor);
        Deliver();
    }
    // What the compositor received since the last call.
    std::vector<std::string> Received()
    {
        Compositor.Serve();
        return std::exchange(Compositor.Requests, {});
    }

    TCompositor Compositor;
    std::unique_ptr<TKWinInputMethodBackend> Backend;
    TRecordingInputBackend* Recording = nullptr;
    int Forgotten = 0;
};

using TStrings = std::vector<std::string>;

TEST_F(KWinInputMethod, WithoutAContextTheWrappedBackendTypes)
{
    Backend->Run({ TypeCharacterAction(U'α'), PressKey(nkReturn), ReleaseKey(nkReturn) });
    EXPECT_EQ(Recording->FeltText(), "=U+3b1 +Return -Return");
    EXPECT_EQ(Received(), TStrings {});
}

TEST_F(KWinInputMethod, AMarkReplacesKivosLetterThroughTheSurroundingTextInBytes)
{
    ActivateWithSerial(7);
    Surrounding("λ", 2);
    Backend->Run({ TypeCharacterAction(U'α') });
    Surrounding("λα", 4);
    Backend->Run({ PressKey(nkBackSpace), ReleaseKey(nkBackSpace), TypeCharacterAction(U'ἄ') });
    // The deletion takes effect with the next commit: an empty one at once.
    EXPECT_EQ(Received(), (TStrings { "commit 7 'α'", "delete -2 2", "commit 7 ''", "commit 7 'ἄ'" }));
    EXPECT_EQ(Recording->FeltText(), "");
}

TEST_F(KWinInputMethod, BackSpaceIsAKeyWhereTheTextIsNotKivos)
{
    struct TCase {
        const char* Name;
        const char* Before; // the surrounding text after KIVO's α, or none
    } const Cases[] = {
        { "no surrounding text", nullptr },
        { "another letter before the cursor", "λβ" },
    };
    for (const TCase& Case : Cases) {
        ActivateWithSerial(3);
        if (Case.Before)
            Surrounding("λ", 2);
        Backend->Run({ TypeCharacterAction(U'α') });
        if (Case.Before)
            Surrounding(Case.Before, 4);
        Backend->Run({ PressKey(nkBackSpace), ReleaseKey(nkBackSpace) });
        EXPECT_EQ(Received(), (TStrings { "commit 3 'α'", "keysym 3 0xff08 down 0", "keysym 3 0xff08 up 0" })) << Case.Name;
        Compositor.Deactivate();
        Deliver();
    }
}

TEST_F(KWinInputMethod, NamedKeysCarryKivosModifiersAndShortcutsAreKeys)
{
    ActivateWithSerial(4);
    Backend->Run({ PressKey(nkControl), PressCharacterKey(U'c'), ReleaseCharacterKey(U'c'), PressKey(nkShift), PressKey(nkLeft),
        ReleaseKey(nkLeft), ReleaseKey(nkShift), ReleaseKey(nkControl), TypeCharacterAction(U'\n') });
    EXPECT_EQ(Received(), (TStrings { "keysym 4 0x63 down 2", "keysym 4 0x63 up 2", "keysym 4 0xff51 down 3", "keysym 4 0xff51 up 3",
        "keysym 4 0xff0d down 0", "keysym 4 0xff0d up 0" }));
}

TEST_F(KWinInputMethod, TheComposerForgetsWhenTheContextMovesOn)
{
    ActivateWithSerial(1);
    const int AtStart = Forgotten;
    zwp_input_method_context_v1_send_content_type(Compositor.Context, 0, 0); // a click into the text
    Deliver();
    EXPECT_EQ(Forgotten, AtStart + 1);
    zwp_input_method_context_v1_send_reset(Compositor.Context);
    Deliver();
    EXPECT_EQ(Forgotten, AtStart + 2);
    Backend->Run({ PressKey(nkShift) });
    Compositor.Deactivate();
    Deliver();
    EXPECT_EQ(Forgotten, AtStart + 3);
    // The Shift held in the context went with it; the next keys go to the wrapped backend.
    Backend->Run({ ReleaseKey(nkShift), TypeCharacterAction(U'β') });
    EXPECT_EQ(Recording->FeltText(), "=U+3b2");
    EXPECT_EQ(Received(), TStrings {});
}

TEST_F(KWinInputMethod, ATextInputThatCommitsItsOwnStateIsJudgedByItsTextAndGetsBackSpaceKeys)
{
    // KWin's account of the whole state after each change of the program's (GTK 4's): the
    // surrounding text, the content type, a serial; and the program's own serial.
    auto Account = [&](const char* Text, std::uint32_t Cursor, std::uint32_t Serial) {
        zwp_input_method_context_v1_send_surrounding_text(Compositor.Context, Text, Cursor, Cursor);
        zwp_input_method_context_v1_send_commit_state(Compositor.Context, Serial);
        zwp_input_method_context_v1_send_surrounding_text(Compositor.Context, Text, Cursor, Cursor);
        zwp_input_method_context_v1_send_content_type(Compositor.Context, 0, 0);
        zwp_input_method_context_v1_send_commit_state(Compositor.Context, Serial + 100);
        Deliver();
    };
    std::vector<std::function<void()>> Waiting;
    Backend->Wrap(std::make_unique<TRecordingInputBackend>(), [&](int, std::function<void()> Work) { Waiting.push_back(std::move(Work)); });
    Compositor.Activate();
    Account("λ", 2, 1);
    Backend->Run({ TypeCharacterAction(U'α') });
    const int Before = Forgotten;
    Account("λα", 4, 2);
    EXPECT_EQ(Forgotten, Before);
    Backend->Run({ PressKey(nkBackSpace), ReleaseKey(nkBackSpace), TypeCharacterAction(U'ά'), TypeCharacterAction(U'β') });
    // Its BackSpace key, not a deletion in bytes (which GTK 4.8 counts as characters); the
    // text after the key waits until the program shows it handled the key (or a while), so as
    // not to overtake it.
    EXPECT_EQ(Received(), (TStrings { "commit 101 'α'", "keysym 102 0xff08 down 0", "keysym 102 0xff08 up 0" }));
    EXPECT_EQ(Waiting.size(), 1u);
    Account("λα", 4, 3); // a state from before the key, once more
    EXPECT_EQ(Received(), TStrings {});
    Account("λ", 2, 3);
    EXPECT_EQ(Received(), (TStrings { "commit 103 'άβ'" }));
    Account("λάβ", 6, 4);
    EXPECT_EQ(Forgotten, Before);
    Account("", 0, 5); // the caret moved
    EXPECT_EQ(Forgotten, Before + 1);
}

TEST(KWinInputMethodConnect, NeedsKWinsSocketAndItsInputMethod)
{
    unsetenv("WAYLAND_SOCKET");
    TUserText Why;
    EXPECT_FALSE(TKWinInputMethodBackend::Connect(Why));
    EXPECT_NE(Why.English().find("WAYLAND_SOCKET"), std::string::npos);
}

} // namespace
