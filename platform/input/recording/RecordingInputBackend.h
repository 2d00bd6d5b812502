#pragma once
// The input backend of unit tests. It sends nothing anywhere: it records every call in order
// and answers ModifiersFor as a US keyboard would (printable ASCII, with Shift where the US key
// needs it; other characters may be given an answer, e.g. Greek letters to model a Greek
// layout, or AltGr as on a German keyboard). A character typed whole is recorded as such, as
// an input method would commit it, unless it is told to frame keys as a keyboard does. It holds
// fake top-level windows and a settable clock; whoever processes the application's messages
// may mark that moment in the same log.
#include "InputBackend.h"

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum TBackendCallKind : std::uint8_t {
    bckTypeCharacter,
    bckSendKey,
    bckSendCharacterKey,
    bckModifiersFor,
    bckFindWindow,
    bckIsMinimized,
    bckRestoreWindow,
    bckRaiseWindow,
    bckIconifyWindow,
    bckTickCount,
    bckMessagesProcessed,
};

struct TBackendCall {
    TBackendCallKind Kind = bckTypeCharacter;
    char32_t Character = 0;     // TypeCharacter, SendCharacterKey, ModifiersFor
    TNamedKey Key = nkBackSpace; // SendKey
    bool Press = false;         // SendKey, SendCharacterKey
    std::string Title {};       // FindWindow
    TWindowId Window = 0;       // the window calls
    std::uint32_t Result = 0;   // the answer (ModifiersFor: the set, or 0xFF for none)

    bool operator==(const TBackendCall&) const = default;
};

std::ostream& operator<<(std::ostream& Stream, const TBackendCall& Call);

class TRecordingInputBackend : public TInputBackend {
public:
    bool TypeCharacter(char32_t Character) override;
    void SendKey(TNamedKey Key, bool Press) override;
    bool SendCharacterKey(char32_t Character, bool Press) override;
    std::optional<TModifiers> ModifiersFor(char32_t Character) override;
    TWindowId FindWindow(const std::string& Title, const std::string& ClassName) override;
    bool IsMinimized(TWindowId Window) override;
    bool RestoreWindow(TWindowId Window) override;
    bool RaiseWindow(TWindowId Window) override;
    bool IconifyWindow(TWindowId Window) override;
    std::uint32_t TickCount() override;

    const std::vector<TBackendCall>& Calls() const { return Log; }
    // Only the calls a target would feel: characters typed and keys pressed or released.
    std::vector<TBackendCall> KeyCalls() const;
    // The same as the key actions they were.
    TKeyActions Felt() const;
    // The key actions and the marks of message processing ("|"): "+Shift +A -A -Shift |".
    std::string FeltText() const;
    std::size_t CountOf(TBackendCallKind Kind) const;
    void ClearCalls() { Log.clear(); }
    void NoteMessagesProcessed() { Log.push_back({bckMessagesProcessed}); }

    // The layout: Character is typed with Modifiers (none: it cannot be typed).
    void SetModifiers(char32_t Character, std::optional<TModifiers> Modifiers) { Layout[Character] = Modifiers; }
    // Frames a character typed whole with keys, as a keyboard backend does.
    void SetFramesCharacters(bool Frames) { FramesCharacters = Frames; }

    // A new window opens on top and is found by its whole title (and class, when one is asked for).
    TWindowId AddWindow(std::string Title, bool Minimized = false, std::string ClassName = {});
    bool IsMinimizedNow(TWindowId Window) const;
    TWindowId TopWindow() const { return Windows.empty() ? 0 : Windows.front().Handle; }

    // Every TickCount answers the count, then advances it by the step.
    void SetTickCount(std::uint32_t Tick) { Ticks = Tick; }
    void SetTickStep(std::uint32_t Step) { TickStep = Step; }

private:
    struct TFakeWindow {
        TWindowId Handle = 0;
        std::string Title;
        std::string ClassName;
        bool Minimized = false;
    };
    TFakeWindow* Find(TWindowId Window);
    void Raise(TWindowId Window);
    bool Record(TBackendCall Call);

    std::vector<TBackendCall> Log;
    std::map<char32_t, std::optional<TModifiers>> Layout;
    std::vector<TFakeWindow> Windows; // topmost first
    TWindowId NextHandle = 0x10010;
    std::uint32_t Ticks = 0;
    std::uint32_t TickStep = 0;
    bool FramesCharacters = false;
};

// The actions as text, as FeltText writes them: "+Shift +A -A -Shift".
std::string TextOf(const TKeyActions& Actions);
