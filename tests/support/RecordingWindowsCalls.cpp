#include "RecordingWindowsCalls.h"

#include <algorithm>
#include <iomanip>
#include <utility>

TInputCall KeybdEventCall(BYTE VirtualKey, BYTE ScanCode, DWORD Flags)
{
    TInputCall Call;
    Call.Kind = ickKeybdEvent;
    Call.VirtualKey = VirtualKey;
    Call.ScanCode = ScanCode;
    Call.Flags = Flags;
    return Call;
}

TInputCall MessagesProcessedCall()
{
    TInputCall Call;
    Call.Kind = ickMessagesProcessed;
    return Call;
}

namespace {
constexpr int ShiftState = 0x100;
constexpr int ControlState = 0x200;
} // namespace

// The printable characters come from the keyboard's own table; the control characters are those a key types by itself, those of Control (and Shift)
// with a key, and for the rest Control with the letter 0x40 above the code.
SHORT UsLayoutVkKeyScan(BYTE Character)
{
    switch (Character) {
    case 0x00: return SHORT(ControlState | ShiftState | '2');
    case 0x03: return 0x03;                                    // Cancel (Ctrl+Break)
    case 0x08: return 0x08;                                    // Backspace
    case 0x09: return 0x09;                                    // Tab
    case 0x0A: return SHORT(ControlState | 0x0D);              // Ctrl+Enter
    case 0x0D: return 0x0D;                                    // Enter
    case 0x1B: return 0x1B;                                    // Escape
    case 0x1C: return SHORT(ControlState | 0xDC);              // Ctrl+Backslash
    case 0x1D: return SHORT(ControlState | 0xDD);              // Ctrl+]
    case 0x1E: return SHORT(ControlState | ShiftState | '6');  // Ctrl+^
    case 0x1F: return SHORT(ControlState | ShiftState | 0xBD); // Ctrl+_
    case 0x7F: return SHORT(ControlState | 0x08);              // Ctrl+Backspace
    default: break;
    }
    if (Character >= 1 && Character <= 26)
        return SHORT(ControlState | (Character + 0x40));
    return UsKeyboardVkKeyScan(Character);
}

namespace {
struct THex {
    unsigned long long Value;
};

std::ostream& operator<<(std::ostream& Stream, THex Hex)
{
    const auto Flags = Stream.flags();
    Stream << "0x" << std::hex << std::uppercase << Hex.Value;
    Stream.flags(Flags);
    return Stream;
}
} // namespace

std::ostream& operator<<(std::ostream& Stream, const TInputCall& Call)
{
    switch (Call.Kind) {
    case ickKeybdEvent:
        Stream << "keybd_event(" << THex {Call.VirtualKey} << ", " << int(Call.ScanCode) << ", ";
        if (Call.Flags == 0)
            Stream << "down";
        else if (Call.Flags == KEYEVENTF_KEYUP)
            Stream << "up";
        else
            Stream << "flags " << THex {Call.Flags};
        if (Call.ExtraInfo != 0)
            Stream << ", extra " << THex {Call.ExtraInfo};
        return Stream << ")";
    case ickVkKeyScan:
        return Stream << "VkKeyScanA(" << int(Call.Character) << ") = " << THex {Call.Result};
    case ickMapVirtualKey:
        return Stream << "MapVirtualKeyA(" << THex {Call.Code} << ", " << Call.MapType << ") = " << THex {Call.Result};
    case ickFindWindow:
        Stream << "FindWindowA(";
        if (Call.ClassName)
            Stream << std::quoted(*Call.ClassName);
        else
            Stream << "null";
        return Stream << ", " << std::quoted(Call.WindowName) << ") = " << THex {Call.Result};
    case ickIsIconic:
        return Stream << "IsIconic(" << THex {Call.Window} << ") = " << Call.Result;
    case ickShowWindow:
        return Stream << "ShowWindow(" << THex {Call.Window} << ", " << Call.Command << ") = " << Call.Result;
    case ickBringWindowToTop:
        return Stream << "BringWindowToTop(" << THex {Call.Window} << ") = " << Call.Result;
    case ickGetTickCount:
        return Stream << "GetTickCount() = " << Call.Result;
    case ickMessagesProcessed:
        return Stream << "(messages processed)";
    }
    return Stream << "(unknown call " << int(Call.Kind) << ")";
}

void TRecordingWindowsCalls::KeybdEvent(BYTE VirtualKey, BYTE ScanCode, DWORD Flags, ULONG_PTR ExtraInfo)
{
    TInputCall Call = KeybdEventCall(VirtualKey, ScanCode, Flags);
    Call.ExtraInfo = ExtraInfo;
    Log.push_back(std::move(Call));
}

SHORT TRecordingWindowsCalls::VkKeyScan(CHAR Character)
{
    const auto Byte = static_cast<BYTE>(Character);
    const auto Override = VkKeyScanAnswers.find(Byte);
    const SHORT Answer = Override != VkKeyScanAnswers.end() ? Override->second : UsLayoutVkKeyScan(Byte);
    TInputCall Call;
    Call.Kind = ickVkKeyScan;
    Call.Character = Byte;
    Call.Result = static_cast<WORD>(Answer);
    Log.push_back(std::move(Call));
    return Answer;
}

UINT TRecordingWindowsCalls::MapVirtualKey(UINT Code, UINT MapType)
{
    // Only virtual key to scan code is modelled; the sender asks for nothing else.
    UINT Answer = 0;
    if (MapType == 0) {
        const auto Override = ScanCodeAnswers.find(Code);
        Answer = Override != ScanCodeAnswers.end() ? Override->second : UsKeyboardScanCode(Code);
    }
    TInputCall Call;
    Call.Kind = ickMapVirtualKey;
    Call.Code = Code;
    Call.MapType = MapType;
    Call.Result = Answer;
    Log.push_back(std::move(Call));
    return Answer;
}

HWND TRecordingWindowsCalls::FindWindow(LPCSTR ClassName, LPCSTR WindowName)
{
    TInputCall Call;
    Call.Kind = ickFindWindow;
    if (ClassName)
        Call.ClassName = ClassName;
    if (WindowName)
        Call.WindowName = WindowName;
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [&](const TFakeWindow& Window) {
        return WindowName && Window.Title == WindowName && (!ClassName || Window.ClassName == ClassName);
    });
    const HWND Handle = Found != Windows.end() ? Found->Handle : 0;
    Call.Result = Handle;
    Log.push_back(std::move(Call));
    return Handle;
}

BOOL TRecordingWindowsCalls::IsIconic(HWND Window)
{
    TInputCall Call;
    Call.Kind = ickIsIconic;
    Call.Window = Window;
    Call.Result = IsMinimized(Window) ? 1 : 0;
    Log.push_back(Call);
    return BOOL(Call.Result);
}

BOOL TRecordingWindowsCalls::ShowWindow(HWND Window, int Command)
{
    constexpr int SW_MINIMIZE = 6;
    TInputCall Call;
    Call.Kind = ickShowWindow;
    Call.Window = Window;
    Call.Command = Command;
    if (auto* Fake = FindFakeWindow(Window)) {
        // Windows answers whether the window was visible before; a minimized one counts.
        Call.Result = 1;
        if (Command == SW_RESTORE) {
            Fake->Minimized = false;
            Raise(Window);
        } else if (Command == SW_MINIMIZE) {
            Fake->Minimized = true;
        }
    }
    Log.push_back(Call);
    return BOOL(Call.Result);
}

BOOL TRecordingWindowsCalls::BringWindowToTop(HWND Window)
{
    TInputCall Call;
    Call.Kind = ickBringWindowToTop;
    Call.Window = Window;
    if (FindFakeWindow(Window)) {
        Raise(Window);
        Call.Result = 1;
    }
    Log.push_back(Call);
    return BOOL(Call.Result);
}

DWORD TRecordingWindowsCalls::GetTickCount()
{
    TInputCall Call;
    Call.Kind = ickGetTickCount;
    Call.Result = TickCount;
    TickCount += TickStep; // wraps to 0 after 4294967295, as the real count does
    Log.push_back(Call);
    return Call.Result;
}

std::vector<TInputCall> TRecordingWindowsCalls::KeyEventsAndMessages() const
{
    std::vector<TInputCall> Felt;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(Felt), [](const TInputCall& Call) {
        return Call.Kind == ickKeybdEvent || Call.Kind == ickMessagesProcessed;
    });
    return Felt;
}

std::size_t TRecordingWindowsCalls::CountOf(TInputCallKind Kind) const
{
    return std::size_t(std::count_if(Log.begin(), Log.end(), [Kind](const TInputCall& Call) { return Call.Kind == Kind; }));
}

void TRecordingWindowsCalls::NoteMessagesProcessed() { Log.push_back(MessagesProcessedCall()); }

HWND TRecordingWindowsCalls::AddWindow(std::string Title, bool Minimized, std::string ClassName)
{
    const HWND Handle = NextHandle++;
    Windows.insert(Windows.begin(), TFakeWindow {Handle, std::move(Title), std::move(ClassName), Minimized});
    return Handle;
}

bool TRecordingWindowsCalls::IsMinimized(HWND Window) const
{
    const auto* Fake = FindFakeWindow(Window);
    return Fake && Fake->Minimized;
}

HWND TRecordingWindowsCalls::TopWindow() const { return Windows.empty() ? 0 : Windows.front().Handle; }

TRecordingWindowsCalls::TFakeWindow* TRecordingWindowsCalls::FindFakeWindow(HWND Window)
{
    return const_cast<TFakeWindow*>(std::as_const(*this).FindFakeWindow(Window));
}

const TRecordingWindowsCalls::TFakeWindow* TRecordingWindowsCalls::FindFakeWindow(HWND Window) const
{
    if (Window == 0)
        return nullptr;
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    return Found != Windows.end() ? &*Found : nullptr;
}

void TRecordingWindowsCalls::Raise(HWND Window)
{
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    if (Found != Windows.end())
        std::rotate(Windows.begin(), Found, Found + 1);
}
