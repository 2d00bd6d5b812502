#pragma once
// The keystroke and window calls by their Windows names, forwarded to the current backend.
// Without a backend they do nothing: no key is sent, no window is found, VkKeyScanA says -1.
#include "WinTypes.h"

void keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR dwExtraInfo);
SHORT VkKeyScanA(CHAR ch);
UINT MapVirtualKeyA(UINT uCode, UINT uMapType);
HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName);
BOOL IsIconic(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL BringWindowToTop(HWND hWnd);
DWORD GetTickCount();
