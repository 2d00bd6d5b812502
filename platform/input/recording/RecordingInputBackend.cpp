#include "RecordingInputBackend.h"

#include "UsLayout.h"

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

void TRecordingInputBackend::KeybdEvent(BYTE VirtualKey, BYTE ScanCode, DWORD Flags, ULONG_PTR ExtraInfo)
{
    TInputCall Call = KeybdEventCall(VirtualKey, ScanCode, Flags);
    Call.ExtraInfo = ExtraInfo;
    Log.push_back(std::move(Call));
}

SHORT TRecordingInputBackend::VkKeyScan(CHAR Character)
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

UINT TRecordingInputBackend::MapVirtualKey(UINT Code, UINT MapType)
{
    // Only virtual key to scan code is modelled; the sender asks for nothing else.
    UINT Answer = 0;
    if (MapType == 0) {
        const auto Override = ScanCodeAnswers.find(Code);
        Answer = Override != ScanCodeAnswers.end() ? Override->second : UsLayoutScanCode(Code);
    }
    TInputCall Call;
    Call.Kind = ickMapVirtualKey;
    Call.Code = Code;
    Call.MapType = MapType;
    Call.Result = Answer;
    Log.push_back(std::move(Call));
    return Answer;
}

HWND TRecordingInputBackend::FindWindow(LPCSTR ClassName, LPCSTR WindowName)
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

BOOL TRecordingInputBackend::IsIconic(HWND Window)
{
    TInputCall Call;
    Call.Kind = ickIsIconic;
    Call.Window = Window;
    Call.Result = IsMinimized(Window) ? 1 : 0;
    Log.push_back(Call);
    return BOOL(Call.Result);
}

BOOL TRecordingInputBackend::ShowWindow(HWND Window, int Command)
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

BOOL TRecordingInputBackend::BringWindowToTop(HWND Window)
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

DWORD TRecordingInputBackend::GetTickCount()
{
    TInputCall Call;
    Call.Kind = ickGetTickCount;
    Call.Result = TickCount;
    TickCount += TickStep; // wraps to 0 after 4294967295, as the real count does
    Log.push_back(Call);
    return Call.Result;
}

std::vector<TInputCall> TRecordingInputBackend::KeyEventsAndMessages() const
{
    std::vector<TInputCall> Felt;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(Felt), [](const TInputCall& Call) {
        return Call.Kind == ickKeybdEvent || Call.Kind == ickMessagesProcessed;
    });
    return Felt;
}

std::size_t TRecordingInputBackend::CountOf(TInputCallKind Kind) const
{
    return std::size_t(std::count_if(Log.begin(), Log.end(), [Kind](const TInputCall& Call) { return Call.Kind == Kind; }));
}

void TRecordingInputBackend::NoteMessagesProcessed() { Log.push_back(MessagesProcessedCall()); }

HWND TRecordingInputBackend::AddWindow(std::string Title, bool Minimized, std::string ClassName)
{
    const HWND Handle = NextHandle++;
    Windows.insert(Windows.begin(), TFakeWindow {Handle, std::move(Title), std::move(ClassName), Minimized});
    return Handle;
}

bool TRecordingInputBackend::IsMinimized(HWND Window) const
{
    const auto* Fake = FindFakeWindow(Window);
    return Fake && Fake->Minimized;
}

HWND TRecordingInputBackend::TopWindow() const { return Windows.empty() ? 0 : Windows.front().Handle; }

TRecordingInputBackend::TFakeWindow* TRecordingInputBackend::FindFakeWindow(HWND Window)
{
    return const_cast<TFakeWindow*>(std::as_const(*this).FindFakeWindow(Window));
}

const TRecordingInputBackend::TFakeWindow* TRecordingInputBackend::FindFakeWindow(HWND Window) const
{
    if (Window == 0)
        return nullptr;
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    return Found != Windows.end() ? &*Found : nullptr;
}

void TRecordingInputBackend::Raise(HWND Window)
{
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    if (Found != Windows.end())
        std::rotate(Windows.begin(), Found, Found + 1);
}
