#pragma once
// The Windows-named calls as the key-string sender makes them, for the tests of the sender and
// of the windows that use it. It sends nothing anywhere: it records every call in order,
// answers VkKeyScanA and MapVirtualKeyA as Windows does with the US layout (single characters
// may be given another answer, e.g. to model a layout with AltGr), holds fake top-level windows
// and a fake tick count. Whoever processes the application's messages can mark that moment in
// the same log, so a test sees how key events and message processing interleave.
#include "Input.h"

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum TInputCallKind {
    ickKeybdEvent,
    ickVkKeyScan,
    ickMapVirtualKey,
    ickFindWindow,
    ickIsIconic,
    ickShowWindow,
    ickBringWindowToTop,
    ickGetTickCount,
    ickMessagesProcessed,
};

// One call of the backend, with the arguments that its kind has and what it answered.
struct TInputCall {
    TInputCallKind Kind = ickKeybdEvent;
    BYTE VirtualKey = 0;                  // keybd_event
    BYTE ScanCode = 0;                    // keybd_event
    DWORD Flags = 0;                      // keybd_event
    ULONG_PTR ExtraInfo = 0;              // keybd_event
    BYTE Character = 0;                   // VkKeyScanA
    UINT Code = 0;                        // MapVirtualKeyA
    UINT MapType = 0;                     // MapVirtualKeyA
    std::optional<std::string> ClassName {}; // FindWindowA; empty optional for "any class"
    std::string WindowName {};            // FindWindowA
    HWND Window = 0;                      // IsIconic, ShowWindow, BringWindowToTop
    int Command = 0;                      // ShowWindow
    DWORD Result = 0;                     // the answer (VkKeyScanA's as its 16 bits)

    bool operator==(const TInputCall&) const = default;
};

// What Windows answers for VkKeyScanA with the US layout: low byte the virtual key, high byte
// the shift state (bit 0 Shift, bit 1 Control, bit 2 Alt); -1 for a character no key types.
SHORT UsLayoutVkKeyScan(BYTE Character);

// Entries as a test expects them.
TInputCall KeybdEventCall(BYTE VirtualKey, BYTE ScanCode, DWORD Flags);
TInputCall MessagesProcessedCall();

// One line per call, e.g. "keybd_event(0x10, 42, up)"; gtest prints entries with it.
std::ostream& operator<<(std::ostream& Stream, const TInputCall& Call);

class TRecordingWindowsCalls final : public TWindowsCalls {
public:
    void KeybdEvent(BYTE VirtualKey, BYTE ScanCode, DWORD Flags, ULONG_PTR ExtraInfo) override;
    SHORT VkKeyScan(CHAR Character) override;
    UINT MapVirtualKey(UINT Code, UINT MapType) override;
    HWND FindWindow(LPCSTR ClassName, LPCSTR WindowName) override;
    BOOL IsIconic(HWND Window) override;
    BOOL ShowWindow(HWND Window, int Command) override;
    BOOL BringWindowToTop(HWND Window) override;
    DWORD GetTickCount() override;

    // The log.
    const std::vector<TInputCall>& Calls() const { return Log; }
    // Only the key events and the marks of message processing, the part a target would feel.
    std::vector<TInputCall> KeyEventsAndMessages() const;
    std::size_t CountOf(TInputCallKind Kind) const;
    void ClearCalls() { Log.clear(); }
    void NoteMessagesProcessed();

    // The layout: Answer replaces the US layout's answer for Character.
    void SetVkKeyScanAnswer(BYTE Character, SHORT Answer) { VkKeyScanAnswers[Character] = Answer; }
    // The keyboard: ScanCode replaces the US scan code of VirtualKey.
    void SetScanCodeAnswer(UINT VirtualKey, UINT ScanCode) { ScanCodeAnswers[VirtualKey] = ScanCode; }

    // Windows. A new window opens on top; FindWindowA finds the topmost one whose title (and
    // class, when one is asked for) is exactly the one asked for. ShowWindow with command 9
    // restores and activates, with 6 minimizes; BringWindowToTop raises.
    HWND AddWindow(std::string Title, bool Minimized = false, std::string ClassName = {});
    bool IsMinimized(HWND Window) const;
    HWND TopWindow() const;

    // The clock: every GetTickCount answers the current count, then advances it by the step.
    void SetTickCount(DWORD Tick) { TickCount = Tick; }
    void SetTickStep(DWORD Step) { TickStep = Step; }
    DWORD CurrentTickCount() const { return TickCount; }

private:
    struct TFakeWindow {
        HWND Handle = 0;
        std::string Title;
        std::string ClassName;
        bool Minimized = false;
    };

    TFakeWindow* FindFakeWindow(HWND Window);
    const TFakeWindow* FindFakeWindow(HWND Window) const;
    void Raise(HWND Window);

    std::vector<TInputCall> Log;
    std::map<BYTE, SHORT> VkKeyScanAnswers;
    std::map<UINT, UINT> ScanCodeAnswers;
    std::vector<TFakeWindow> Windows; // topmost first
    HWND NextHandle = 0x10010;
    DWORD TickCount = 0;
    DWORD TickStep = 0;
};
