#pragma once
// The key-string sender: turns a key string, a string of 8-bit codes, into key actions for
// whatever window holds the input focus, and finds and activates top-level windows by their
// title. Free functions; nothing is kept between calls.
//
// Every code of a key string is one action:
//   0 .. RawKeyBound-1   the virtual key of that number, pressed and released: a named key, or
//                        for the digits and capitals the key of that digit or small letter
//   RawKeyBound .. 227   a character of code page 1252, typed by its key on the current layout,
//                        framed by the modifiers that the layout says it needs
//   228 .. 239           F1 .. F12
//   240 .. 249           Home, End, Up, Down, Left, Right, Page Up, Page Down, Insert, Delete
//   250 .. 255           Shift, Control, Alt: press (even code) or release (odd code)
// A modifier pressed by code 250, 252 or 254 stays down until its release code; while the
// last modifier code of the string was a press, characters get no modifiers of their own.
// Titles and characters are code page 1252; the backend is given Unicode.
#include "InputBackend.h"

#include <functional>
#include <string>

// SendKeyString leaves codes up to 109 raw (so "A" is the A key and "a" numeric keypad 1);
// TSendkeys::SendKeys only the control codes.
inline constexpr int SendKeyStringRawKeyBound = 110;
inline constexpr int SendKeysRawKeyBound = 32;

// Sends every code of KeyString; returns when the last action is handed to the backend.
// Processes no messages.
void SendKeyString(std::string KeyString);
// Restores the window if it is minimized, else brings it to the top. Waits for nothing.
void MakeWindowActive(TWindowId Window);
// The topmost top-level window whose whole title is Title, or 0.
TWindowId GetHandleFromWindowTitle(std::string Title);
// Finds the window, activates it (even if none was found) and sends KeyString.
void SendKeysToTitle(std::string Title, std::string KeyString);
void SendKeysToHandle(TWindowId Window, std::string KeyString);

// The actions of one code. ModifierHeld is the string's modifier-held flag, read and updated;
// Layout answers what a character needs and is asked nothing else.
void AppendKeyActions(TKeyActions& Actions, unsigned char Code, int RawKeyBound, bool& ModifierHeld, TInputBackend& Layout);
// The actions of a whole string, as the senders run them code by code.
TKeyActions KeyStringActions(const std::string& KeyString, int RawKeyBound, TInputBackend& Layout);

// The one sending loop behind SendKeyString and TSendkeys::SendKeys: the actions of each code
// run on the current backend, then AfterEachCode, when set. It works on its own copy of the
// codes, so AfterEachCode may change the caller's string.
void SendKeyCodes(std::string KeyString, int RawKeyBound, const std::function<void()>& AfterEachCode);

// The Unicode code point of a character of code page 1252, 0 for its five holes.
char32_t CodePointOfAnsiCharacter(unsigned char Character);
// Text of code page 1252 in UTF-8; a hole becomes U+FFFD.
std::string Utf8FromAnsi(const std::string& Text);
