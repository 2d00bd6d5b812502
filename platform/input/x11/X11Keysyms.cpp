#include "X11Keysyms.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

namespace {

constexpr TKeysym UnicodeKeysymBase = 0x01000000;

bool IsKeypadKeysym(TKeysym Keysym) { return Keysym >= XK_KP_Space && Keysym <= XK_KP_Equal; }

// Only these control characters are typed, each by its own key; the others have no key.
bool IsTypedControl(char32_t Character)
{
    return Character == '\b' || Character == '\t' || Character == '\n' || Character == '\r' || Character == 0x1B;
}

} // namespace

char32_t CodePointOfKeysym(TKeysym Keysym)
{
    if (Keysym == 0 || IsKeypadKeysym(Keysym))
        return 0;
    const char32_t Character = xkb_keysym_to_utf32(Keysym);
    if (Character < 0x20 || (Character >= 0x7F && Character < 0xA0))
        return IsTypedControl(Character) ? Character : 0;
    return Character;
}

TKeysym KeysymForCodePoint(char32_t Character)
{
    switch (Character) {
    case '\b': return XK_BackSpace;
    case '\t': return XK_Tab;
    case '\n':
    case '\r': return XK_Return;
    case 0x1B: return XK_Escape;
    default: break;
    }
    if (Character < 0x20 || (Character >= 0x7F && Character < 0xA0) || Character > 0x10FFFF
        || (Character >= 0xD800 && Character < 0xE000))
        return 0;
    if (Character < 0x100)
        return Character;
    return UnicodeKeysymBase + Character;
}

TCasePair CasePairOf(TKeysym Keysym)
{
    KeySym Lower = Keysym, Upper = Keysym;
    XConvertCase(Keysym, &Lower, &Upper);
    if (Lower == Upper || (Keysym != Lower && Keysym != Upper))
        return {Keysym, Keysym};
    return {TKeysym(Lower), TKeysym(Upper)};
}
