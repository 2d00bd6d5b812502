#pragma once
// How a spare key's symbols reach the server. XKB's own request (XkbSetMap, sent by
// XkbChangeMap) is the first choice: it sets the key's type with its symbols. Xwayland refuses
// that request with BadValue for any key, while the core request XChangeKeyboardMapping,
// which the server turns into the same XKB key (one group, ALPHABETIC for a case pair, the
// type a client would give it), works there. So a refused XKB request is sent again through the
// core protocol, and from then on every spare of this connection goes that way. The core
// protocol reaches only two levels of the first group: a server that takes only it gets spares
// of one pair each (HalvesAvailable), and a key is given back as empty as it was before.
#include <X11/XKBlib.h>

#include <cstdint>

class TX11SpareMapping {
public:
    explicit TX11SpareMapping(Display* Connection) : Connection(Connection) {}

    // Sends the key's symbols (2 or 4 levels), as already set in Map, and the changes that name
    // the key. True when the server holds them afterwards (a few round trips).
    bool SetKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Levels);
    // Makes the key empty again; Map and Changes describe it without symbols already.
    bool ClearKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode);
    // Whether spares can carry four levels (false once the server has refused XKB's request).
    bool FourLevels() const { return !CoreOnly; }

private:
    // Whether the server's core map shows the key with Symbols (Count 0: empty).
    bool Holds(std::uint8_t Keycode, const KeySym* Symbols, int Count);
    bool SendCore(std::uint8_t Keycode, const KeySym* Symbols, int Count);
    bool Send(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count);

    Display* Connection = nullptr;
    bool CoreOnly = false;
};
