#include "Input.h"

#include "InputBackend.h"

#include <array>
#include <string>

namespace {

constexpr int NoName = -1;

// A virtual key: its US scan code, and either the named key it is or the characters its US
// key types. The only table of virtual keys in the program.
struct TVirtualKey {
    BYTE VirtualKey;
    BYTE ScanCode;
    int Name;
    char Plain = 0;
    char Shifted = 0;
};

constexpr TVirtualKey VirtualKeys[] = {
    {0x03, 0x46, NoName}, {0x08, 0x0E, nkBackSpace}, {0x09, 0x0F, nkTab}, {0x0C, 0x4C, NoName},
    {0x0D, 0x1C, nkReturn}, {0x10, 0x2A, nkShift}, {0x11, 0x1D, nkControl}, {0x12, 0x38, nkAlt},
    {0x13, 0x45, nkPause}, {0x14, 0x3A, nkCapsLock}, {0x1B, 0x01, nkEscape}, {0x20, 0x39, nkSpace, ' '},
    {0x21, 0x49, nkPageUp}, {0x22, 0x51, nkPageDown}, {0x23, 0x4F, nkEnd}, {0x24, 0x47, nkHome},
    {0x25, 0x4B, nkLeft}, {0x26, 0x48, nkUp}, {0x27, 0x4D, nkRight}, {0x28, 0x50, nkDown},
    {0x2C, 0x54, nkPrintScreen}, {0x2D, 0x52, nkInsert}, {0x2E, 0x53, nkDelete},
    {'0', 0x0B, NoName, '0', ')'}, {'1', 0x02, NoName, '1', '!'}, {'2', 0x03, NoName, '2', '@'},
    {'3', 0x04, NoName, '3', '#'}, {'4', 0x05, NoName, '4', '$'}, {'5', 0x06, NoName, '5', '%'},
    {'6', 0x07, NoName, '6', '^'}, {'7', 0x08, NoName, '7', '&'}, {'8', 0x09, NoName, '8', '*'},
    {'9', 0x0A, NoName, '9', '('},
    {'A', 0x1E, NoName, 'a', 'A'}, {'B', 0x30, NoName, 'b', 'B'}, {'C', 0x2E, NoName, 'c', 'C'},
    {'D', 0x20, NoName, 'd', 'D'}, {'E', 0x12, NoName, 'e', 'E'}, {'F', 0x21, NoName, 'f', 'F'},
    {'G', 0x22, NoName, 'g', 'G'}, {'H', 0x23, NoName, 'h', 'H'}, {'I', 0x17, NoName, 'i', 'I'},
    {'J', 0x24, NoName, 'j', 'J'}, {'K', 0x25, NoName, 'k', 'K'}, {'L', 0x26, NoName, 'l', 'L'},
    {'M', 0x32, NoName, 'm', 'M'}, {'N', 0x31, NoName, 'n', 'N'}, {'O', 0x18, NoName, 'o', 'O'},
    {'P', 0x19, NoName, 'p', 'P'}, {'Q', 0x10, NoName, 'q', 'Q'}, {'R', 0x13, NoName, 'r', 'R'},
    {'S', 0x1F, NoName, 's', 'S'}, {'T', 0x14, NoName, 't', 'T'}, {'U', 0x16, NoName, 'u', 'U'},
    {'V', 0x2F, NoName, 'v', 'V'}, {'W', 0x11, NoName, 'w', 'W'}, {'X', 0x2D, NoName, 'x', 'X'},
    {'Y', 0x15, NoName, 'y', 'Y'}, {'Z', 0x2C, NoName, 'z', 'Z'},
    {0x5B, 0x5B, nkSuper}, {0x5C, 0x5C, nkSuper}, {0x5D, 0x5D, nkMenu},
    {0x60, 0x52, nkKeypad0}, {0x61, 0x4F, nkKeypad1}, {0x62, 0x50, nkKeypad2}, {0x63, 0x51, nkKeypad3},
    {0x64, 0x4B, nkKeypad4}, {0x65, 0x4C, nkKeypad5}, {0x66, 0x4D, nkKeypad6}, {0x67, 0x47, nkKeypad7},
    {0x68, 0x48, nkKeypad8}, {0x69, 0x49, nkKeypad9}, {0x6A, 0x37, nkKeypadMultiply}, {0x6B, 0x4E, nkKeypadAdd},
    {0x6D, 0x4A, nkKeypadSubtract}, {0x6E, 0x53, nkKeypadDecimal}, {0x6F, 0x35, nkKeypadDivide},
    {0x70, 0x3B, nkF1}, {0x71, 0x3C, nkF2}, {0x72, 0x3D, nkF3}, {0x73, 0x3E, nkF4}, {0x74, 0x3F, nkF5},
    {0x75, 0x40, nkF6}, {0x76, 0x41, nkF7}, {0x77, 0x42, nkF8}, {0x78, 0x43, nkF9}, {0x79, 0x44, nkF10},
    {0x7A, 0x57, nkF11}, {0x7B, 0x58, nkF12}, {0x7C, 0x64, nkF13}, {0x7D, 0x65, nkF14}, {0x7E, 0x66, nkF15},
    {0x7F, 0x67, nkF16}, {0x80, 0x68, nkF17}, {0x81, 0x69, nkF18}, {0x82, 0x6A, nkF19}, {0x83, 0x6B, nkF20},
    {0x84, 0x6C, nkF21}, {0x85, 0x6D, nkF22}, {0x86, 0x6E, nkF23}, {0x87, 0x76, nkF24},
    {0x90, 0x45, nkNumLock}, {0x91, 0x46, nkScrollLock},
    // Left and right Shift, Control, Alt; the right Alt key is AltGr where a layout has one.
    {0xA0, 0x2A, nkShift}, {0xA1, 0x36, nkRightShift}, {0xA2, 0x1D, nkControl}, {0xA3, 0x1D, nkRightControl},
    {0xA4, 0x38, nkAlt}, {0xA5, 0x38, nkAltGr},
    // Browser and media keys: scan codes only.
    {0xA6, 0x6A, NoName}, {0xA7, 0x69, NoName}, {0xA8, 0x67, NoName}, {0xA9, 0x68, NoName},
    {0xAA, 0x65, NoName}, {0xAB, 0x66, NoName}, {0xAC, 0x32, NoName}, {0xAD, 0x20, NoName},
    {0xAE, 0x2E, NoName}, {0xAF, 0x30, NoName}, {0xB0, 0x19, NoName}, {0xB1, 0x10, NoName},
    {0xB2, 0x24, NoName}, {0xB3, 0x22, NoName}, {0xB4, 0x6C, NoName}, {0xB5, 0x6D, NoName},
    {0xB6, 0x6B, NoName}, {0xB7, 0x21, NoName},
    {0xBA, 0x27, NoName, ';', ':'}, {0xBB, 0x0D, NoName, '=', '+'}, {0xBC, 0x33, NoName, ',', '<'},
    {0xBD, 0x0C, NoName, '-', '_'}, {0xBE, 0x34, NoName, '.', '>'}, {0xBF, 0x35, NoName, '/', '?'},
    {0xC0, 0x29, NoName, '`', '~'}, {0xDB, 0x1A, NoName, '[', '{'}, {0xDC, 0x2B, NoName, '\\', '|'},
    {0xDD, 0x1B, NoName, ']', '}'}, {0xDE, 0x28, NoName, '\'', '"'}, {0xE2, 0x56, NoName},
};

// Virtual keys that Windows leaves unassigned, lent to characters that no US key types.
constexpr BYTE LendableVirtualKeys[] = {0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0x8F, 0x97, 0x98, 0x99,
    0x9A, 0x9B, 0x9C, 0x9D, 0x9E, 0x9F};

constexpr SHORT ShiftState = 0x100;

struct TTables {
    std::array<const TVirtualKey*, 256> ByVirtualKey {};
    std::array<SHORT, 256> VkKeyScan {};
};

constexpr TTables BuildTables()
{
    TTables Tables;
    Tables.VkKeyScan.fill(-1);
    for (const auto& Key : VirtualKeys) {
        Tables.ByVirtualKey[Key.VirtualKey] = &Key;
        if (Key.Plain)
            Tables.VkKeyScan[static_cast<unsigned char>(Key.Plain)] = SHORT(Key.VirtualKey);
        if (Key.Shifted)
            Tables.VkKeyScan[static_cast<unsigned char>(Key.Shifted)] = SHORT(ShiftState | Key.VirtualKey);
    }
    return Tables;
}

constexpr TTables Tables = BuildTables();

// Code page 1252 at 0x80-0x9F; the rest of the page is Latin-1. 0 marks a hole.
constexpr char32_t HighControlBlock[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

// What a virtual key stands for between VkKeyScanA and the key's release, and where a press
// went, so that the release goes to the same key.
struct TBoundaryState {
    std::array<char32_t, 256> LentCharacter {};
    std::array<char32_t, 256> PressedCharacter {};
    std::size_t NextLendable = 0;
};

TBoundaryState& State()
{
    static TBoundaryState Boundary;
    return Boundary;
}

std::unique_ptr<TWindowsCalls>& Replacement()
{
    static std::unique_ptr<TWindowsCalls> Calls;
    return Calls;
}

std::string Utf8FromAnsi(const char* Text)
{
    std::string Result;
    for (; *Text; ++Text) {
        char32_t CodePoint = CodePointOfAnsiCharacter(static_cast<BYTE>(*Text));
        if (!CodePoint)
            CodePoint = 0xFFFD;
        if (CodePoint < 0x80) {
            Result += char(CodePoint);
        } else if (CodePoint < 0x800) {
            Result += char(0xC0 | (CodePoint >> 6));
            Result += char(0x80 | (CodePoint & 0x3F));
        } else {
            Result += char(0xE0 | (CodePoint >> 12));
            Result += char(0x80 | ((CodePoint >> 6) & 0x3F));
            Result += char(0x80 | (CodePoint & 0x3F));
        }
    }
    return Result;
}

void TranslateKeyEvent(TInputBackend& Backend, BYTE VirtualKey, bool Press)
{
    TBoundaryState& Boundary = State();
    const TVirtualKey* Key = Tables.ByVirtualKey[VirtualKey];
    if (!Press) {
        if (const char32_t Character = Boundary.PressedCharacter[VirtualKey]) {
            Backend.SendCharacterKey(Character, false);
            Boundary.PressedCharacter[VirtualKey] = 0;
            Boundary.LentCharacter[VirtualKey] = 0;
        } else if (Key && Key->Name != NoName) {
            Backend.SendKey(TNamedKey(Key->Name), false);
        }
        return;
    }
    char32_t Character = Boundary.LentCharacter[VirtualKey];
    if (!Character && Key && Key->Name != NoName) {
        Backend.SendKey(TNamedKey(Key->Name), true);
        return;
    }
    if (!Character && Key)
        Character = static_cast<unsigned char>(Key->Plain);
    if (Character && Backend.SendCharacterKey(Character, true))
        Boundary.PressedCharacter[VirtualKey] = Character;
}

SHORT TranslateVkKeyScan(TInputBackend& Backend, CHAR Character)
{
    const auto Byte = static_cast<BYTE>(Character);
    const char32_t CodePoint = CodePointOfAnsiCharacter(Byte);
    const auto Needed = CodePoint ? Backend.ModifiersFor(CodePoint) : std::nullopt;
    if (!Needed)
        return -1;
    TBoundaryState& Boundary = State();
    BYTE VirtualKey = 0;
    if (const SHORT UsAnswer = Tables.VkKeyScan[Byte]; UsAnswer != -1) {
        VirtualKey = BYTE(UsAnswer & 0xFF);
    } else {
        VirtualKey = LendableVirtualKeys[Boundary.NextLendable];
        Boundary.NextLendable = (Boundary.NextLendable + 1) % std::size(LendableVirtualKeys);
    }
    Boundary.LentCharacter[VirtualKey] = CodePoint;
    // Windows names AltGr as Control and Alt together.
    int State = (*Needed & mfShift ? 1 : 0) | (*Needed & mfControl ? 2 : 0) | (*Needed & mfAlt ? 4 : 0);
    if (*Needed & mfAltGr)
        State |= 6;
    return SHORT(State << 8 | VirtualKey);
}

} // namespace

std::unique_ptr<TWindowsCalls> SetWindowsCalls(std::unique_ptr<TWindowsCalls> Calls)
{
    Replacement().swap(Calls);
    return Calls;
}

TWindowsCalls* CurrentWindowsCalls() { return Replacement().get(); }

SHORT UsKeyboardVkKeyScan(BYTE Character) { return Tables.VkKeyScan[Character]; }

UINT UsKeyboardScanCode(UINT VirtualKey)
{
    const TVirtualKey* Key = VirtualKey < 256 ? Tables.ByVirtualKey[VirtualKey] : nullptr;
    return Key ? Key->ScanCode : 0;
}

char32_t CodePointOfAnsiCharacter(BYTE Character)
{
    if (Character >= 0x80 && Character < 0xA0)
        return HighControlBlock[Character - 0x80];
    return Character;
}

void keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, ULONG_PTR dwExtraInfo)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->KeybdEvent(bVk, bScan, dwFlags, dwExtraInfo);
    if (auto* Backend = CurrentInputBackend())
        TranslateKeyEvent(*Backend, bVk, !(dwFlags & KEYEVENTF_KEYUP));
}

SHORT VkKeyScanA(CHAR ch)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->VkKeyScan(ch);
    auto* Backend = CurrentInputBackend();
    return Backend ? TranslateVkKeyScan(*Backend, ch) : SHORT(-1);
}

UINT MapVirtualKeyA(UINT uCode, UINT uMapType)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->MapVirtualKey(uCode, uMapType);
    if (uMapType == 0)
        return UsKeyboardScanCode(uCode);
    if (uMapType == 1 || uMapType == 3) {
        for (const auto& Key : VirtualKeys)
            if (Key.ScanCode == uCode)
                return Key.VirtualKey;
    }
    return 0;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->FindWindow(lpClassName, lpWindowName);
    auto* Backend = CurrentInputBackend();
    return Backend && lpWindowName ? Backend->FindWindow(Utf8FromAnsi(lpWindowName), lpClassName ? lpClassName : "") : 0;
}

BOOL IsIconic(HWND hWnd)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->IsIconic(hWnd);
    auto* Backend = CurrentInputBackend();
    return Backend && hWnd && Backend->IsMinimized(hWnd);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->ShowWindow(hWnd, nCmdShow);
    auto* Backend = CurrentInputBackend();
    if (!Backend || !hWnd)
        return 0;
    constexpr int SW_HIDE = 0, SW_SHOWMINIMIZED = 2, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7;
    switch (nCmdShow) {
    case SW_HIDE:
        return 0;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        return Backend->IconifyWindow(hWnd);
    default:
        return Backend->RestoreWindow(hWnd);
    }
}

BOOL BringWindowToTop(HWND hWnd)
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->BringWindowToTop(hWnd);
    auto* Backend = CurrentInputBackend();
    return Backend && hWnd && Backend->RaiseWindow(hWnd);
}

DWORD GetTickCount()
{
    if (auto* Calls = CurrentWindowsCalls())
        return Calls->GetTickCount();
    auto* Backend = CurrentInputBackend();
    return Backend ? Backend->TickCount() : 0;
}
