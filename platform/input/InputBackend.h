#pragma once
// One keystroke sink and window finder behind the Windows-named free functions of Input.h.
// Exactly one backend is current; it is chosen once at start-up (X11 in the program, the
// recording backend in unit tests) and may be replaced only between calls.
#include "WinTypes.h"

#include <memory>

class TInputBackend {
public:
    virtual ~TInputBackend() = default;

    // Appends one key press (Flags 0) or release (Flags KEYEVENTF_KEYUP) to the input stream.
    virtual void KeybdEvent(BYTE VirtualKey, BYTE ScanCode, DWORD Flags, ULONG_PTR ExtraInfo) = 0;
    // Low byte: virtual key; high byte: bit 0 Shift, bit 1 Control, bit 2 Alt; -1 if no key types it.
    virtual SHORT VkKeyScan(CHAR Character) = 0;
    virtual UINT MapVirtualKey(UINT Code, UINT MapType) = 0;
    // ClassName may be null (any class). WindowName is matched whole and exactly.
    virtual HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName) = 0;
    virtual BOOL IsIconic(HWND Window) = 0;
    virtual BOOL ShowWindow(HWND Window, int Command) = 0;
    virtual BOOL BringWindowToTop(HWND Window) = 0;
    virtual DWORD GetTickCount() = 0;
};

// Makes Backend the current one and returns the previous one (null if there was none).
std::unique_ptr<TInputBackend> SetInputBackend(std::unique_ptr<TInputBackend> Backend);
// The current backend, or null before start-up has chosen one.
TInputBackend* CurrentInputBackend();
