#pragma once
// The fixed-width integer types in which the keystroke and window calls are written. Windows
// names them this way; keeping the names keeps every call's arguments self-explanatory.
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using BOOL = int;
using CHAR = char;
using LPCSTR = const char*;
using ULONG_PTR = std::uintptr_t;
// A top-level window, named by a 32-bit number; 0 is no window.
using HWND = std::uint32_t;

constexpr DWORD KEYEVENTF_KEYUP = 0x0002;
constexpr int SW_RESTORE = 9;
