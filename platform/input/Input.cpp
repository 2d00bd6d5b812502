#include "Input.h"

#include "InputBackend.h"

namespace {
std::unique_ptr<TInputBackend>& Current()
{
    static std::unique_ptr<TInputBackend> Backend;
    return Backend;
}
} // namespace

std::unique_ptr<TInputBackend> SetInputBackend(std::unique_ptr<TInputBackend> Backend)
{
    Current().swap(Backend);
    return Backend;
}

TInputBackend* CurrentInputBackend() { return Current().get(); }

void keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR dwExtraInfo)
{
    if (auto* Backend = CurrentInputBackend())
        Backend->KeybdEvent(bVk, bScan, dwFlags, dwExtraInfo);
}

SHORT VkKeyScanA(CHAR ch)
{
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->VkKeyScan(ch) : SHORT(-1);
}

UINT MapVirtualKeyA(UINT uCode, UINT uMapType)
{
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->MapVirtualKey(uCode, uMapType) : 0;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    auto* Backend = CurrentInputBackend();
    return Backend && lpWindowName ? Backend->FindWindow(lpClassName, lpWindowName) : 0;
}

BOOL IsIconic(HWND hWnd)
{
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->IsIconic(hWnd) : 0;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->ShowWindow(hWnd, nCmdShow) : 0;
}

BOOL BringWindowToTop(HWND hWnd)
{
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->BringWindowToTop(hWnd) : 0;
}

DWORD GetTickCount()
{
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->GetTickCount() : 0;
}
