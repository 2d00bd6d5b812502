#include "Sendkeys.h"

#include <array>
#include <cstdint>
#include <utility>

namespace {

constexpr int FirstFunctionKeyCode = 228;  // F1; F12 is 239
constexpr int FunctionKeyCodeOffset = 116; // F1 is virtual key 112
constexpr int FirstNavigationKeyCode = 240;
constexpr int FirstModifierCode = 250;

// What a virtual key stands for: a named key, or the key that types a character without Shift.
struct TVirtualKey {
    std::uint8_t Number = 0;
    TNamedKey Key = nkBackSpace;
    char Character = 0;
};

constexpr TVirtualKey Named(std::uint8_t Number, TNamedKey Key) { return {Number, Key, 0}; }

// The one table of virtual keys: those a key string can name. The rest name no key: a raw code
// for one of them sends nothing.
constexpr TVirtualKey VirtualKeys[] = {
    Named(0x08, nkBackSpace), Named(0x09, nkTab), Named(0x0D, nkReturn), Named(0x10, nkShift), Named(0x11, nkControl),
    Named(0x12, nkAlt), Named(0x13, nkPause), Named(0x14, nkCapsLock), Named(0x1B, nkEscape), Named(0x20, nkSpace),
    Named(0x21, nkPageUp), Named(0x22, nkPageDown), Named(0x23, nkEnd), Named(0x24, nkHome), Named(0x25, nkLeft),
    Named(0x26, nkUp), Named(0x27, nkRight), Named(0x28, nkDown), Named(0x2C, nkPrintScreen), Named(0x2D, nkInsert),
    Named(0x2E, nkDelete), Named(0x5B, nkSuper), Named(0x5C, nkSuper), Named(0x5D, nkMenu),
    Named(0x60, nkKeypad0), Named(0x61, nkKeypad1), Named(0x62, nkKeypad2), Named(0x63, nkKeypad3),
    Named(0x64, nkKeypad4), Named(0x65, nkKeypad5), Named(0x66, nkKeypad6), Named(0x67, nkKeypad7),
    Named(0x68, nkKeypad8), Named(0x69, nkKeypad9), Named(0x6A, nkKeypadMultiply), Named(0x6B, nkKeypadAdd),
    Named(0x6D, nkKeypadSubtract),
    Named(0x70, nkF1), Named(0x71, nkF2), Named(0x72, nkF3), Named(0x73, nkF4), Named(0x74, nkF5), Named(0x75, nkF6),
    Named(0x76, nkF7), Named(0x77, nkF8), Named(0x78, nkF9), Named(0x79, nkF10), Named(0x7A, nkF11), Named(0x7B, nkF12),
};

// Home, End, Up, Down, Left, Right, Page Up, Page Down, Insert, Delete: codes 240 to 249.
constexpr std::array<std::uint8_t, 10> NavigationKeyTable = {0x24, 0x23, 0x26, 0x28, 0x25, 0x27, 0x21, 0x22, 0x2D, 0x2E};
// Shift, Control, Alt; code c names entry (c - 250) / 2.
constexpr std::array<std::uint8_t, 3> ModifierKeyTable = {0x10, 0x11, 0x12};
// What a modifier code does, indexed by the modifier-held flag it leaves: release, press.
constexpr std::array<TKeyActionKind, 2> ModifierFlagTable = {kakReleaseKey, kakPressKey};

constexpr std::array<TVirtualKey, 256> BuildVirtualKeyIndex()
{
    std::array<TVirtualKey, 256> Index {};
    for (const TVirtualKey& Key : VirtualKeys)
        Index[Key.Number] = Key;
    for (char Digit = '0'; Digit <= '9'; ++Digit)
        Index[std::uint8_t(Digit)] = {std::uint8_t(Digit), nkBackSpace, Digit};
    for (char Letter = 'A'; Letter <= 'Z'; ++Letter)
        Index[std::uint8_t(Letter)] = {std::uint8_t(Letter), nkBackSpace, char(Letter - 'A' + 'a')};
    return Index;
}

constexpr std::array<TVirtualKey, 256> VirtualKeyIndex = BuildVirtualKeyIndex();

bool NamesAKey(const TVirtualKey& Key) { return Key.Number != 0; }

void AppendTap(TKeyActions& Actions, std::uint8_t VirtualKey)
{
    const TVirtualKey& Key = VirtualKeyIndex[VirtualKey];
    if (!NamesAKey(Key))
        return;
    if (Key.Character) {
        Actions.push_back(PressCharacterKey(char32_t(Key.Character)));
        Actions.push_back(ReleaseCharacterKey(char32_t(Key.Character)));
    } else {
        Actions.push_back(PressKey(Key.Key));
        Actions.push_back(ReleaseKey(Key.Key));
    }
}

// Code page 1252 at 0x80-0x9F; the rest of the page is Latin-1. 0 marks a hole.
constexpr char32_t HighControlBlock[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

} // namespace

char32_t CodePointOfAnsiCharacter(unsigned char Character)
{
    if (Character >= 0x80 && Character < 0xA0)
        return HighControlBlock[Character - 0x80];
    return Character;
}

std::string Utf8FromAnsi(const std::string& Text)
{
    std::string Result;
    for (const char Byte : Text) {
        char32_t CodePoint = CodePointOfAnsiCharacter(static_cast<unsigned char>(Byte));
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

void AppendKeyActions(TKeyActions& Actions, unsigned char Code, int RawKeyBound, bool& ModifierHeld, TInputBackend& Layout)
{
    if (Code >= FirstModifierCode) {
        const int Index = Code - FirstModifierCode;
        ModifierHeld = Index % 2 == 0;
        Actions.push_back({ModifierFlagTable[ModifierHeld ? 1 : 0], VirtualKeyIndex[ModifierKeyTable[Index / 2]].Key, 0});
    } else if (Code >= FirstNavigationKeyCode) {
        AppendTap(Actions, NavigationKeyTable[Code - FirstNavigationKeyCode]);
    } else if (Code >= FirstFunctionKeyCode) {
        AppendTap(Actions, std::uint8_t(Code - FunctionKeyCodeOffset));
    } else if (Code < RawKeyBound) {
        AppendTap(Actions, Code);
    } else {
        const char32_t Character = CodePointOfAnsiCharacter(Code);
        const auto Needed = Character ? Layout.ModifiersFor(Character) : std::nullopt;
        if (Needed) {
            // Modifiers that the string holds down itself replace the layout's own.
            AppendFramedCharacter(Actions, Character, ModifierHeld ? 0 : *Needed);
        } else if (!ModifierHeld) {
            // A character that no key types: only the Shift that would have framed it.
            Actions.push_back(PressKey(nkShift));
            Actions.push_back(ReleaseKey(nkShift));
        }
    }
}

TKeyActions KeyStringActions(const std::string& KeyString, int RawKeyBound, TInputBackend& Layout)
{
    TKeyActions Actions;
    bool ModifierHeld = false;
    for (const char Code : KeyString)
        AppendKeyActions(Actions, static_cast<unsigned char>(Code), RawKeyBound, ModifierHeld, Layout);
    return Actions;
}

void SendKeyCodes(std::string KeyString, int RawKeyBound, const std::function<void()>& AfterEachCode)
{
    // Each call has its own flag, so a call nested inside AfterEachCode neither sees nor
    // changes the outer call's. The layout is asked code by code, just before the code's
    // keys go out, as it is at that moment.
    bool ModifierHeld = false;
    TKeyActions Actions;
    for (const char Code : KeyString) {
        if (TInputBackend* Backend = CurrentInputBackend()) {
            Actions.clear();
            AppendKeyActions(Actions, static_cast<unsigned char>(Code), RawKeyBound, ModifierHeld, *Backend);
            Backend->Run(Actions);
        }
        if (AfterEachCode)
            AfterEachCode();
    }
}

void SendKeyString(std::string KeyString) { SendKeyCodes(std::move(KeyString), SendKeyStringRawKeyBound, {}); }

void MakeWindowActive(TWindowId Window)
{
    TInputBackend* Backend = CurrentInputBackend();
    if (!Backend || !Window)
        return;
    if (Backend->IsMinimized(Window))
        Backend->RestoreWindow(Window);
    else
        Backend->RaiseWindow(Window);
}

TWindowId GetHandleFromWindowTitle(std::string Title)
{
    // Windows are matched by their whole title. A title with a zero byte in it would be cut
    // short at that byte and could find a window with the shorter title, so it finds none.
    TInputBackend* Backend = CurrentInputBackend();
    if (!Backend || Title.find('\0') != std::string::npos)
        return 0;
    return Backend->FindWindow(Utf8FromAnsi(Title), {});
}

void SendKeysToTitle(std::string Title, std::string KeyString)
{
    MakeWindowActive(GetHandleFromWindowTitle(std::move(Title)));
    SendKeyString(std::move(KeyString));
}

void SendKeysToHandle(TWindowId Window, std::string KeyString)
{
    MakeWindowActive(Window);
    SendKeyString(std::move(KeyString));
}
