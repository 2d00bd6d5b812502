#pragma once
// KIVO as an IBus input method engine named "kivo", for desktops where an ordinary client can
// type into no other program (GNOME on Wayland; also IBus on X11 and KDE where a user adds it).
// The engine lives in KIVO's own process and joins ibus-daemon's bus as the component
// org.kivo.kivo.IBus (the component file lets the daemon start KIVO when the user chooses the
// engine and none runs). While the engine has an input context's focus, what KIVO types is
// committed to that program: characters with commit_text, named keys as key events; the keys
// of the user's own keyboard pass through untouched. Otherwise everything goes to the backend
// it wraps (X11, which reaches XWayland programs), which also answers for windows and time.
#include "CommittingInputBackend.h"
#include "TypedTail.h"

#include <functional>
#include <memory>

class TIBusInputBackend : public TCommittingInputBackend {
public:
    // Never null: when there is no IBus, every call goes to Fallback.
    static std::unique_ptr<TIBusInputBackend> Create(std::unique_ptr<TInputBackend> Fallback);
    ~TIBusInputBackend() override;

    // What KIVO may know about the engine, for the hint that tells the user how to add it.
    enum TEngineState {
        esUnknown,    // not yet heard from ibus-daemon
        esNoIBus,     // no ibus-daemon answers
        esNotChosen,  // ibus runs, another engine (or a plain layout) is the input source
        esChosen      // KIVO's engine is the input source
    };
    TEngineState EngineState() const;
    // Called when EngineState changes.
    std::function<void(TEngineState)> OnEngineStateChanged;
    // Called when the document may no longer hold what KIVO typed before the cursor: the
    // focus left, the program reset its input, or its text changed by something else.
    std::function<void()> OnForget;

    // True while KIVO types into an IBus input context (not through the wrapped backend).
    bool Committing() const override;

    bool TypeCharacter(char32_t Character) override;
    void SendKey(TNamedKey Key, bool Press) override;
    bool SendCharacterKey(char32_t Character, bool Press) override;

    struct TState;

private:
    void Commit(char32_t Character) override;
    explicit TIBusInputBackend(std::unique_ptr<TInputBackend> Fallback);
    std::unique_ptr<TState> State;
};

