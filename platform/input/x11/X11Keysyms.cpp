#include "X11Keysyms.h"

#define XK_PUBLISHING
#define XK_LATIN2
#define XK_LATIN9
#define XK_TECHNICAL
#include <X11/keysym.h>

namespace {

// Code page 1252 at 0x80-0x9F; the rest of the page is Latin-1. 0 marks a hole.
constexpr char32_t HighControlBlock[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

struct TLegacyKeysym {
    char32_t CodePoint;
    KeySym Keysym;
};

// Layouts name these characters by their pre-Unicode keysyms; a key carrying either types it.
constexpr TLegacyKeysym LegacyKeysyms[] = {{0x20AC, XK_EuroSign}, {0x201A, XK_singlelowquotemark},
    {0x0192, XK_function}, {0x201E, XK_doublelowquotemark}, {0x2026, XK_ellipsis}, {0x2020, XK_dagger},
    {0x2021, XK_doubledagger}, {0x0160, XK_Scaron}, {0x0152, XK_OE}, {0x017D, XK_Zcaron},
    {0x2018, XK_leftsinglequotemark}, {0x2019, XK_rightsinglequotemark}, {0x201C, XK_leftdoublequotemark},
    {0x201D, XK_rightdoublequotemark}, {0x2022, XK_enfilledcircbullet}, {0x2013, XK_endash},
    {0x2014, XK_emdash}, {0x2122, XK_trademark}, {0x0161, XK_scaron}, {0x0153, XK_oe},
    {0x017E, XK_zcaron}, {0x0178, XK_Ydiaeresis}};

} // namespace

char32_t CodePointForCharacter(unsigned char Character)
{
    if (Character >= 0x80 && Character < 0xA0)
        return HighControlBlock[Character - 0x80];
    return Character;
}

TKeysymCandidates KeysymsForCharacter(unsigned char Character)
{
    TKeysymCandidates Result;
    auto Add = [&](KeySym Keysym) { Result.Keysyms[Result.Count++] = Keysym; };
    switch (Character) {
    case 8: Add(XK_BackSpace); return Result;
    case 9: Add(XK_Tab); return Result;
    case 13: Add(XK_Return); return Result;
    case 27: Add(XK_Escape); return Result;
    default: break;
    }
    const char32_t CodePoint = CodePointForCharacter(Character);
    if (CodePoint < 0x20 || (CodePoint >= 0x7F && CodePoint < 0xA0))
        return Result;
    if (CodePoint < 0x100) {
        Add(CodePoint);
        return Result;
    }
    for (const auto& Legacy : LegacyKeysyms)
        if (Legacy.CodePoint == CodePoint)
            Add(Legacy.Keysym);
    Add(0x01000000 | CodePoint);
    return Result;
}
