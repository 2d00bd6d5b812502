#pragma once
// The key-string sender: turns a key string, a string of 8-bit codes, into synthesized key
// presses and releases for whatever window holds the input focus, and finds and activates
// top-level windows by their title. Free functions; nothing is kept between calls.
//
// Every code of a key string is one action:
//   0 .. RawKeyBound-1   the virtual key of that number, pressed and released
//   RawKeyBound .. 227   a character, typed by the key that the keyboard layout gives it
//                        (VkKeyScanA), framed by the modifiers that the layout entry needs
//   228 .. 239           F1 .. F12
//   240 .. 249           the navigation keys of NavigationKeyTable
//   250 .. 255           Shift, Control, Alt: press (even code) or release (odd code)
// A modifier pressed by code 250, 252 or 254 stays down until its release code; while the
// last modifier code of the string was a press, characters get no modifiers of their own.
#include "WinTypes.h"

#include <array>
#include <functional>
#include <string>

// Home, End, Up, Down, Left, Right, Page Up, Page Down, Insert, Delete: codes 240 to 249.
inline constexpr std::array<BYTE, 10> NavigationKeyTable = {0x24, 0x23, 0x26, 0x28, 0x25, 0x27, 0x21, 0x22, 0x2D, 0x2E};
// Shift, Control, Alt; code c names entry (c - 250) / 2.
inline constexpr std::array<BYTE, 3> ModifierKeyTable = {0x10, 0x11, 0x12};
// The event flags of a modifier code, indexed by the modifier-held flag: release, press.
inline constexpr std::array<DWORD, 2> ModifierFlagTable = {KEYEVENTF_KEYUP, 0};

// SendKeyString leaves codes up to 109 raw (so "A" is the A key and "a" numeric keypad 1);
// TSendkeys::SendKeys only the control codes.
inline constexpr int SendKeyStringRawKeyBound = 110;
inline constexpr int SendKeysRawKeyBound = 32;

// Sends every code of KeyString; returns when the last event is handed to the window system.
// Processes no messages.
void SendKeyString(std::string KeyString);
// Restores the window if it is minimized, else brings it to the top. Waits for nothing.
void MakeWindowActive(HWND Window);
// The topmost top-level window whose whole title is Title, or 0.
HWND GetHandleFromWindowTitle(std::string Title);
// Finds the window, activates it (even if none was found) and sends KeyString.
void SendKeysToTitle(std::string Title, std::string KeyString);
void SendKeysToHandle(HWND Window, std::string KeyString);

// The one sending loop behind SendKeyString and TSendkeys::SendKeys: codes below RawKeyBound
// are raw virtual keys, and AfterEachCode, when set, runs after the events of every code. It
// works on its own copy of the codes, so AfterEachCode may change the caller's string.
void SendKeyCodes(std::string KeyString, int RawKeyBound, const std::function<void()>& AfterEachCode);
