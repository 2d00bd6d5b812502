#include "WlrKeymap.h"

#include "NamedKeys.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

// XKB keycodes of a PC keyboard are the evdev codes plus 8.
std::uint32_t NamedKeycode(TNamedKey Key) { return LinuxKeyOf(Key).EvdevCode + 8; }

// The unshifted characters of a US keyboard's rows, from the keycode of each row's first key.
constexpr std::pair<std::uint32_t, std::string_view> UsRows[] = {
    { 10, "1234567890-=" }, { 24, "qwertyuiop[]" }, { 38, "asdfghjkl;'`" }, { 51, "\\zxcvbnm,./" },
};

std::uint32_t KeysymOf(char32_t Character)
{
    if (Character >= 0xD800 && Character <= 0xDFFF)
        return XKB_KEY_NoSymbol;
    return xkb_utf32_to_keysym(Character);
}

} // namespace

TWlrKeymap::TWlrKeymap()
{
    for (int Key = 0; Key < nkNamedKeyCount; ++Key)
        Named[NamedKeycode(TNamedKey(Key))] = Fixed[NamedKeycode(TNamedKey(Key))] = true;
    for (const auto& [First, Row] : UsRows) {
        for (size_t Index = 0; Index < Row.size(); ++Index) {
            Place(First + std::uint32_t(Index), char32_t(static_cast<unsigned char>(Row[Index])));
            Fixed[First + Index] = true;
        }
    }
    // The Greek letters are what KIVO types most: their keys are there from the start, so that
    // the keymap changes only for letters with marks.
    std::uint32_t Spare = FirstKeycode;
    auto Seed = [&](char32_t Character) {
        while (Spare <= LastKeycode && (Named[Spare] || Characters[Spare]))
            ++Spare;
        if (Spare <= LastKeycode)
            Place(Spare, Character);
    };
    for (char32_t Letter = U'\u03B1'; Letter <= U'\u03C9'; ++Letter)
        Seed(Letter);
    for (char32_t Letter = U'\u0391'; Letter <= U'\u03A9'; ++Letter) {
        if (Letter != U'\u03A2')
            Seed(Letter);
    }
}

std::uint32_t TWlrKeymap::KeycodeOfNamedKey(TNamedKey Key) { return Key < nkNamedKeyCount ? NamedKeycode(Key) : 0; }

std::optional<TNamedKey> TWlrKeymap::NamedKeyOfCharacter(char32_t Character)
{
    switch (Character) {
    case U'\b': return nkBackSpace;
    case U'\t': return nkTab;
    case U'\r':
    case U'\n': return nkReturn;
    case U'\x1B': return nkEscape;
    case U' ': return nkSpace;
    case U'\x7F': return nkDelete;
    default: return std::nullopt;
    }
}

void TWlrKeymap::Place(std::uint32_t Keycode, char32_t Character)
{
    Characters[Keycode] = Character;
    LastUse[Keycode] = ++UseCounter;
}

bool TWlrKeymap::CanCarry(char32_t Character)
{
    return Character >= 0x20 && !(Character >= 0x7F && Character < 0xA0) && KeysymOf(Character) != XKB_KEY_NoSymbol;
}

std::optional<TWlrKeymap::TAssignment> TWlrKeymap::Assign(char32_t Character)
{
    if (!CanCarry(Character))
        return std::nullopt;
    for (std::uint32_t Keycode = FirstKeycode; Keycode <= LastKeycode; ++Keycode) {
        if (Characters[Keycode] == Character) {
            LastUse[Keycode] = ++UseCounter;
            return TAssignment { Keycode, false };
        }
    }
    std::uint32_t Chosen = 0;
    for (std::uint32_t Keycode = FirstKeycode; Keycode <= LastKeycode; ++Keycode) {
        if (Fixed[Keycode] || Held[Keycode])
            continue;
        if (!Characters[Keycode]) {
            Chosen = Keycode;
            break;
        }
        if (!Chosen || LastUse[Keycode] < LastUse[Chosen])
            Chosen = Keycode;
    }
    if (!Chosen)
        return std::nullopt;
    Place(Chosen, Character);
    return TAssignment { Chosen, true };
}

void TWlrKeymap::SetHeld(std::uint32_t Keycode, bool IsHeld)
{
    if (Keycode <= LastKeycode)
        Held[Keycode] = IsHeld;
}

std::string TWlrKeymap::Text() const
{
    std::string Keycodes = "xkb_keycodes \"kivo\" {\n  minimum = 8;\n  maximum = 255;\n";
    std::string Symbols = "xkb_symbols \"kivo\" {\n";
    char Line[128];
    auto Key = [&](std::uint32_t Keycode, const char* Keysym) {
        std::snprintf(Line, sizeof Line, "  <K%03u> = %u;\n", Keycode, Keycode);
        Keycodes += Line;
        std::snprintf(Line, sizeof Line, "  key <K%03u> { [ %s ] };\n", Keycode, Keysym);
        Symbols += Line;
    };
    auto KeyOfKeysym = [&](std::uint32_t Keycode, std::uint32_t Keysym) {
        char Name[64];
        if (xkb_keysym_get_name(Keysym, Name, sizeof Name) > 0)
            Key(Keycode, Name);
    };
    for (int Named_ = 0; Named_ < nkNamedKeyCount; ++Named_)
        KeyOfKeysym(NamedKeycode(TNamedKey(Named_)), LinuxKeyOf(TNamedKey(Named_)).Keysym);
    for (std::uint32_t Keycode = FirstKeycode; Keycode <= LastKeycode; ++Keycode) {
        if (Characters[Keycode])
            KeyOfKeysym(Keycode, KeysymOf(Characters[Keycode]));
    }
    auto Map = [&](const char* Modifier, std::initializer_list<TNamedKey> Keys) {
        Symbols += std::string("  modifier_map ") + Modifier + " {";
        const char* Separator = " ";
        for (const TNamedKey NamedKey : Keys) {
            std::snprintf(Line, sizeof Line, "%s<K%03u>", Separator, NamedKeycode(NamedKey));
            Symbols += Line;
            Separator = ", ";
        }
        Symbols += " };\n";
    };
    Map("Shift", { nkShift, nkRightShift });
    Map("Lock", { nkCapsLock });
    Map("Control", { nkControl, nkRightControl });
    Map("Mod1", { nkAlt });
    Map("Mod2", { nkNumLock });
    Map("Mod4", { nkSuper });
    Map("Mod5", { nkAltGr });
    return "xkb_keymap {\n" + Keycodes + "};\nxkb_types \"kivo\" { include \"complete\" };\n"
        + "xkb_compatibility \"kivo\" { include \"complete\" };\n" + Symbols + "};\n};\n";
}
