#pragma once
// The input backend of unit tests that work in characters and named keys. It sends nothing
// anywhere: it records every call in order and answers ModifiersFor as a US keyboard would
// (printable ASCII, with Shift where the US key needs it; other characters may be given an
// answer, e.g. Greek letters to model a Greek layout). It holds fake top-level windows and a
// settable tick count.
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

TBackendCall TypeCharacterCall(char32_t Character);
TBackendCall SendKeyCall(TNamedKey Key, bool Press);
TBackendCall SendCharacterKeyCall(char32_t Character, bool Press);

std::ostream& operator<<(std::ostream& Stream, const TBackendCall& Call);

class TRecordingInputBackend final : public TInputBackend {
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
    void ClearCalls() { Log.clear(); }

    // The layout: Character is typed with Modifiers (none: it cannot be typed).
    void SetModifiers(char32_t Character, std::optional<TModifiers> Modifiers) { Layout[Character] = Modifiers; }

    // A new window opens on top and is found by its whole title (and class, when one is asked for).
    TWindowId AddWindow(std::string Title, bool Minimized = false, std::string ClassName = {});
    bool IsMinimizedNow(TWindowId Window) const;
    TWindowId TopWindow() const { return Windows.empty() ? 0 : Windows.front().Handle; }

    void SetTickCount(std::uint32_t Tick) { Ticks = Tick; }

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
};
