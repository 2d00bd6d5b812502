#pragma once
// The input layer in KIVO's own terms: characters, named keys and top-level windows. Exactly
// one backend is current; it is chosen once at start-up (X11 in the program, the recording
// backend in unit tests) and may be replaced only between calls.
//
// Everything the program types reaches the backend as a list of key actions run by Run: the
// key strings of the sender and the composer's Unicode text take that one road.
//
// Usage:
//   TInputBackend* Input = CurrentInputBackend();
//   Input->Run({TypeCharacterAction(U'\u03B1')});  // alpha, with whatever key and modifiers it needs
//   Input->Run({PressKey(nkBackSpace), ReleaseKey(nkBackSpace)});
//   if (auto Needed = Input->ModifiersFor(U'@'); Needed && (*Needed & mfAltGr)) { ... }
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Keys that carry no character of their own, or whose place matters more than their character.
enum TNamedKey : std::uint8_t {
    nkBackSpace, nkTab, nkReturn, nkEscape, nkSpace, nkDelete, nkInsert,
    nkHome, nkEnd, nkPageUp, nkPageDown, nkLeft, nkUp, nkRight, nkDown,
    nkF1, nkF2, nkF3, nkF4, nkF5, nkF6, nkF7, nkF8, nkF9, nkF10, nkF11, nkF12,
    nkF13, nkF14, nkF15, nkF16, nkF17, nkF18, nkF19, nkF20, nkF21, nkF22, nkF23, nkF24,
    nkShift, nkRightShift, nkControl, nkRightControl, nkAlt, nkAltGr, nkSuper, nkMenu,
    nkCapsLock, nkNumLock, nkScrollLock, nkPause, nkPrintScreen,
    nkKeypad0, nkKeypad1, nkKeypad2, nkKeypad3, nkKeypad4, nkKeypad5, nkKeypad6, nkKeypad7,
    nkKeypad8, nkKeypad9, nkKeypadMultiply, nkKeypadAdd, nkKeypadSubtract, nkKeypadDecimal,
    nkKeypadDivide, nkKeypadEnter,
    nkNamedKeyCount
};

// The modifiers a character needs, as a set of these bits.
using TModifiers = std::uint8_t;
enum TModifier : TModifiers { mfShift = 1, mfControl = 2, mfAlt = 4, mfAltGr = 8 };

// One step of typing. A character's key is pressed without modifiers of its own: those are
// named keys around it (AppendFramedCharacter). A character typed whole is framed by the
// backend as it needs at the moment it is typed, or committed as text where it has no keys.
enum TKeyActionKind : std::uint8_t {
    kakPressKey,
    kakReleaseKey,
    kakPressCharacterKey,
    kakReleaseCharacterKey,
    kakTypeCharacter,
};

struct TKeyAction {
    TKeyActionKind Kind = kakPressKey;
    TNamedKey Key = nkBackSpace; // the named keys
    char32_t Character = 0;      // the characters

    bool operator==(const TKeyAction&) const = default;
};

using TKeyActions = std::vector<TKeyAction>;

inline TKeyAction PressKey(TNamedKey Key) { return {kakPressKey, Key, 0}; }
inline TKeyAction ReleaseKey(TNamedKey Key) { return {kakReleaseKey, Key, 0}; }
inline TKeyAction PressCharacterKey(char32_t Character) { return {kakPressCharacterKey, nkBackSpace, Character}; }
inline TKeyAction ReleaseCharacterKey(char32_t Character) { return {kakReleaseCharacterKey, nkBackSpace, Character}; }
inline TKeyAction TypeCharacterAction(char32_t Character) { return {kakTypeCharacter, nkBackSpace, Character}; }

// The one place where modifiers frame a key: appends Character's key, pressed and released,
// inside the named keys of Needed (Shift, Control, Alt, AltGr, in that order down and the
// reverse order up). Modifiers in Held are down already: those that Character needs are not
// pressed again, the others are lifted around the key and put back after it.
void AppendFramedCharacter(TKeyActions& Actions, char32_t Character, TModifiers Needed, TModifiers Held = 0);

// "Shift", "F1", "Keypad1": for messages and test output.
const char* NamedKeyName(TNamedKey Key);
// "+Shift", "-a", "=U+3b1" (a character typed whole).
std::ostream& operator<<(std::ostream& Stream, const TKeyAction& Action);

// A top-level window of another program; 0 is no window.
using TWindowId = std::uint32_t;

class TInputBackend {
public:
    virtual ~TInputBackend() = default;

    // Runs Actions in order; every action is run even when one fails. False when a character
    // could not be typed; OnUntyped, when set, hears which.
    bool Run(const TKeyActions& Actions, const std::function<void(char32_t)>& OnUntyped = {});
    // The modifiers that actions run here hold down at the moment.
    TModifiers ModifiersHeld() const { return Held; }

    // Types Character (a Unicode code point) as a user would, whatever modifiers KIVO itself
    // holds: by default the key that ModifiersFor finds, framed by the modifiers it needs. A
    // backend that commits text without keys types it its own way. False when it cannot be
    // typed at all.
    virtual bool TypeCharacter(char32_t Character);
    // Presses or releases a named key. A key that the keyboard lacks is skipped.
    virtual void SendKey(TNamedKey Key, bool Press) = 0;
    void TapKey(TNamedKey Key) { Run({PressKey(Key), ReleaseKey(Key)}); }
    // Presses or releases the key that carries Character, without any modifier: those are the
    // caller's (ModifiersFor says which). The release goes to the key the press went to, even
    // when the layout changed in between. False when no key can carry it.
    virtual bool SendCharacterKey(char32_t Character, bool Press) = 0;
    // The modifiers that type Character on the current layout and lock state; none when it
    // cannot be typed. A pure question: it changes nothing anywhere.
    virtual std::optional<TModifiers> ModifiersFor(char32_t Character) = 0;

    // The topmost top-level window whose whole title is Title (UTF-8) and, unless ClassName is
    // empty, whose class (either part of WM_CLASS) is ClassName; 0 if none.
    virtual TWindowId FindWindow(const std::string& Title, const std::string& ClassName) = 0;
    virtual bool IsMinimized(TWindowId Window) = 0;
    // De-iconifies, raises and activates; false if there is no such window.
    virtual bool RestoreWindow(TWindowId Window) = 0;
    // Raises and activates; false if there is no such window.
    virtual bool RaiseWindow(TWindowId Window) = 0;
    virtual bool IconifyWindow(TWindowId Window) = 0;

    // Milliseconds on a monotonic clock; wraps after 2^32.
    virtual std::uint32_t TickCount() = 0;

    // Run calls these around its actions (nested runs included): a backend may hold the key
    // events back until the outermost run ends and send them at once.
    virtual void BeginActions() {}
    virtual void EndActions() {}

private:
    TModifiers Held = 0;
};

// Makes Backend the current one and returns the previous one (null if there was none).
std::unique_ptr<TInputBackend> SetInputBackend(std::unique_ptr<TInputBackend> Backend);
// The current backend, or null before start-up has chosen one.
TInputBackend* CurrentInputBackend();
