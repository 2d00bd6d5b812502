#pragma once
// The input layer in KIVO's own terms: characters, named keys and top-level windows. Exactly
// one backend is current; it is chosen once at start-up (X11 in the program, the recording
// backend in unit tests) and may be replaced only between calls.
//
// Usage:
//   TInputBackend* Input = CurrentInputBackend();
//   Input->TypeCharacter(U'\u03B1');        // alpha, with whatever key and modifiers it needs
//   Input->TapKey(nkBackSpace);             // press and release a named key
//   Input->SendKey(nkShift, true);          // hold Shift ... and release it with false
//   if (auto Needed = Input->ModifiersFor(U'@'); Needed && (*Needed & mfAltGr)) { ... }
//
// A caller that frames keys itself (holds its own modifiers) asks ModifiersFor, presses those
// named keys, and sends the character's own key with SendCharacterKey.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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

// A top-level window of another program; 0 is no window.
using TWindowId = std::uint32_t;

class TInputBackend {
public:
    virtual ~TInputBackend() = default;

    // Types Character (a Unicode code point) as a user would, with the modifiers it needs,
    // whatever the user's own modifier state: a key of the current layout where one carries it,
    // otherwise a key set up for it. False when it cannot be typed at all.
    virtual bool TypeCharacter(char32_t Character) = 0;
    // Presses or releases a named key. A key that the keyboard lacks is skipped.
    virtual void SendKey(TNamedKey Key, bool Press) = 0;
    void TapKey(TNamedKey Key)
    {
        SendKey(Key, true);
        SendKey(Key, false);
    }
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
};

// Makes Backend the current one and returns the previous one (null if there was none).
std::unique_ptr<TInputBackend> SetInputBackend(std::unique_ptr<TInputBackend> Backend);
// The current backend, or null before start-up has chosen one.
TInputBackend* CurrentInputBackend();
