#pragma once
// KIVO as KWin's input method ("Virtual Keyboard" in System Settings). KWin starts the program
// it is told to with a Wayland connection of its own (WAYLAND_SOCKET) and offers that one
// program zwp_input_method_v1. While a native program's text input is active, KWin hands KIVO a
// context for it: characters go as committed text, a mark replacing the letter KIVO just typed
// deletes that letter through the surrounding text (where the program shows it and it agrees),
// named keys go as keysyms. KIVO takes no keyboard grab: the user's own keys reach the program
// untouched. With no context (an XWayland program has the focus) everything goes to the
// wrapped backend (X11), which also answers for windows and time.
//
// The connection is not Qt's: the program reads it from its event loop (FileDescriptor,
// ProcessPending) and never blocks on it.
#include "CommittingInputBackend.h"
#include "UserText.h"

#include <functional>
#include <memory>
#include <string>

class TKWinInputMethodBackend : public TCommittingInputBackend {
public:
    // Connects through $WAYLAND_SOCKET (which it consumes). Null, with Why set, when there is
    // none or the compositor behind it offers no input method to this program.
    static std::unique_ptr<TKWinInputMethodBackend> Connect(TUserText& Why);
    ~TKWinInputMethodBackend() override;

    // Fallback: where everything goes while no context is active. Later(Milliseconds, Work):
    // runs Work from the event loop after a while (text that must wait for a key).
    void Wrap(std::unique_ptr<TInputBackend> Fallback, std::function<void(int, std::function<void()>)> Later = {});

    int FileDescriptor() const;
    // Reads and handles what the compositor sent, without blocking. False once the connection
    // is lost: KIVO then types through the wrapped backend only.
    bool ProcessPending();

    // Called when the document may no longer hold what KIVO typed before the cursor: the
    // context went or was reset, its content type changed, or its text changed by other hands.
    std::function<void()> OnForget;

    // True while a native program's text input is active (KIVO commits into it).
    bool Committing() const override;

    void SendKey(TNamedKey Key, bool Press) override;
    bool SendCharacterKey(char32_t Character, bool Press) override;

    struct TState;

private:
    void Commit(char32_t Character) override;
    TKWinInputMethodBackend();
    std::unique_ptr<TState> State;
};
