#pragma once
// The keystroke and window calls by their Windows names: the key-string sender is written
// with them, and this boundary translates them onto the current input backend
// (InputBackend.h), the only place where virtual keys and scan codes mean anything.
//   - A virtual key is a named key (Shift, Tab, F1, the keypad ...) or, for the keys that type
//     characters, the key that carries the character VkKeyScanA was last asked for with that
//     answer (its US key by default: 'A' is the key that types "a").
//   - VkKeyScanA asks the backend which modifiers the character needs; characters that no US
//     key types are lent one of the virtual keys Windows leaves unassigned.
//   - Scan codes are those of a US PC keyboard; the backend needs none.
// Without a backend the calls do nothing: no key is sent, no window is found, VkKeyScanA says -1.
//
// A test of the sender may put a TWindowsCalls of its own in place of the translation, to see
// the calls exactly as the sender makes them.
#include "WinTypes.h"

#include <memory>

void keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR dwExtraInfo);
SHORT VkKeyScanA(CHAR ch);
UINT MapVirtualKeyA(UINT uCode, UINT uMapType);
HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);
BOOL IsIconic(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL BringWindowToTop(HWND hWnd);
DWORD GetTickCount();

class TWindowsCalls {
public:
    virtual ~TWindowsCalls() = default;
    virtual void KeybdEvent(BYTE VirtualKey, BYTE ScanCode, DWORD Flags, ULONG_PTR ExtraInfo) = 0;
    virtual SHORT VkKeyScan(CHAR Character) = 0;
    virtual UINT MapVirtualKey(UINT Code, UINT MapType) = 0;
    virtual HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName) = 0;
    virtual BOOL IsIconic(HWND Window) = 0;
    virtual BOOL ShowWindow(HWND Window, int Command) = 0;
    virtual BOOL BringWindowToTop(HWND Window) = 0;
    virtual DWORD GetTickCount() = 0;
};

// Puts Calls in place of the translation (null: the translation again); returns the previous.
std::unique_ptr<TWindowsCalls> SetWindowsCalls(std::unique_ptr<TWindowsCalls> Calls);
TWindowsCalls* CurrentWindowsCalls();

// What Windows answers for the US keyboard layout, from the boundary's table of virtual keys.
// VkKeyScanA's answer for a printable character (low byte the virtual key, high byte 1 with
// Shift); -1 for one that no US key types.
SHORT UsKeyboardVkKeyScan(BYTE Character);
// The set-1 scan code of a virtual key; 0 for a virtual key with no key.
UINT UsKeyboardScanCode(UINT VirtualKey);
// The Unicode code point of a character of code page 1252, 0 for its five holes.
char32_t CodePointOfAnsiCharacter(BYTE Character);
