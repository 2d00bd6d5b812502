#include "Sendkeys.h"

#include "Input.h"

#include <utility>

namespace {

constexpr int FirstFunctionKeyCode = 228;   // F1; F12 is 239
constexpr int FunctionKeyCodeOffset = 116;  // F1 is virtual key 112
constexpr int FirstNavigationKeyCode = 240;
constexpr int FirstModifierCode = 250;

// The bits of a layout entry's shift state (the high byte of VkKeyScanA's answer).
constexpr BYTE ShiftStateShift = 0x01;
constexpr BYTE ShiftStateControl = 0x02;
constexpr BYTE ShiftStateAlt = 0x04;
constexpr BYTE ShiftStateNoKey = 0xFF; // VkKeyScanA said -1

constexpr BYTE ShiftVirtualKey = 0x10;
constexpr BYTE ShiftScanCode = 42; // the left Shift key, whatever the layout
constexpr BYTE ControlVirtualKey = 0x11;
constexpr BYTE AltVirtualKey = 0x12;
constexpr BYTE AltGrVirtualKey = 0xA5; // the right Alt key, which is AltGr where a layout has one

struct TKeyStroke {
    BYTE VirtualKey = 0;
    BYTE ScanCode = 0;
};

BYTE ScanCodeOf(BYTE VirtualKey) { return static_cast<BYTE>(MapVirtualKeyA(VirtualKey, 0) & 0xFF); }

// The modifier keys that a character's layout entry needs, in the order they are pressed.
struct TModifierFrame {
    std::array<TKeyStroke, 2> Keys {};
    int Count = 0;

    void Add(TKeyStroke Key) { Keys[Count++] = Key; }
};

TModifierFrame ModifiersFor(BYTE ShiftState)
{
    TModifierFrame Frame;
    if (ShiftState == 0)
        return Frame;
    const bool NeedsShift = ShiftState & ShiftStateShift;
    const bool NeedsControl = ShiftState & ShiftStateControl;
    const bool NeedsAlt = ShiftState & ShiftStateAlt;
    // A character that no key types, or one whose entry names none of the three modifiers,
    // is framed by Shift alone: nothing better is known about it.
    if (ShiftState == ShiftStateNoKey || !(NeedsShift || NeedsControl || NeedsAlt)) {
        Frame.Add({ShiftVirtualKey, ShiftScanCode});
        return Frame;
    }
    if (NeedsShift)
        Frame.Add({ShiftVirtualKey, ShiftScanCode});
    // Control and Alt together are how Windows names AltGr; the layouts that have AltGr
    // type those characters with the right Alt key, not with the left Control and Alt.
    if (NeedsControl && NeedsAlt)
        Frame.Add({AltGrVirtualKey, ScanCodeOf(AltGrVirtualKey)});
    else if (NeedsControl)
        Frame.Add({ControlVirtualKey, ScanCodeOf(ControlVirtualKey)});
    else if (NeedsAlt)
        Frame.Add({AltVirtualKey, ScanCodeOf(AltVirtualKey)});
    return Frame;
}

void SendModifierCode(int Code, bool& ModifierHeld)
{
    const int Index = Code - FirstModifierCode;
    ModifierHeld = Index % 2 == 0;
    const BYTE VirtualKey = ModifierKeyTable[Index / 2];
    keybd_event(VirtualKey, ScanCodeOf(VirtualKey), ModifierFlagTable[ModifierHeld ? 1 : 0], 0);
}

void SendKeyCode(int Code, int RawKeyBound, bool ModifierHeld)
{
    BYTE VirtualKey = 0;
    BYTE ShiftState = 0;
    if (Code >= FirstNavigationKeyCode) {
        VirtualKey = NavigationKeyTable[Code - FirstNavigationKeyCode];
    } else if (Code >= FirstFunctionKeyCode) {
        VirtualKey = static_cast<BYTE>(Code - FunctionKeyCodeOffset);
    } else if (Code < RawKeyBound) {
        VirtualKey = static_cast<BYTE>(Code);
    } else {
        const auto Answer = static_cast<WORD>(VkKeyScanA(static_cast<CHAR>(Code)));
        VirtualKey = static_cast<BYTE>(Answer & 0xFF);
        ShiftState = static_cast<BYTE>(Answer >> 8);
    }
    const BYTE ScanCode = ScanCodeOf(VirtualKey);
    // Modifiers that the string holds down itself replace the layout's own.
    const TModifierFrame Frame = ModifierHeld ? TModifierFrame {} : ModifiersFor(ShiftState);

    for (int Index = 0; Index < Frame.Count; ++Index)
        keybd_event(Frame.Keys[Index].VirtualKey, Frame.Keys[Index].ScanCode, 0, 0);
    keybd_event(VirtualKey, ScanCode, 0, 0);
    keybd_event(VirtualKey, ScanCode, KEYEVENTF_KEYUP, 0);
    for (int Index = Frame.Count - 1; Index >= 0; --Index)
        keybd_event(Frame.Keys[Index].VirtualKey, Frame.Keys[Index].ScanCode, KEYEVENTF_KEYUP, 0);
}

} // namespace

void SendKeyCodes(std::string KeyString, int RawKeyBound, const std::function<void()>& AfterEachCode)
{
    // Each call has its own flag, so a call nested inside AfterEachCode neither sees nor
    // changes the outer call's.
    bool ModifierHeld = false;
    for (const char Character : KeyString) {
        const int Code = static_cast<unsigned char>(Character);
        if (Code >= FirstModifierCode)
            SendModifierCode(Code, ModifierHeld);
        else
            SendKeyCode(Code, RawKeyBound, ModifierHeld);
        if (AfterEachCode)
            AfterEachCode();
    }
}

void SendKeyString(std::string KeyString) { SendKeyCodes(std::move(KeyString), SendKeyStringRawKeyBound, {}); }

void MakeWindowActive(HWND Window)
{
    if (IsIconic(Window))
        ShowWindow(Window, SW_RESTORE);
    else
        BringWindowToTop(Window);
}

HWND GetHandleFromWindowTitle(std::string Title)
{
    // Windows are matched by their whole title. A title with a zero byte in it would be cut
    // short at that byte and could find a window with the shorter title, so it finds none.
    if (Title.find('\0') != std::string::npos)
        return 0;
    return FindWindowA(nullptr, Title.c_str());
}

void SendKeysToTitle(std::string Title, std::string KeyString)
{
    MakeWindowActive(GetHandleFromWindowTitle(std::move(Title)));
    SendKeyString(std::move(KeyString));
}

void SendKeysToHandle(HWND Window, std::string KeyString)
{
    MakeWindowActive(Window);
    SendKeyString(std::move(KeyString));
}
