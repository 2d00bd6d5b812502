#include "X11Keymap.h"

#include "X11VirtualKeys.h"

#include <X11/keysym.h>

#include <cstring>
#include <string_view>

using namespace X11VirtualKeys;

namespace {

// The level that a key type gives for a modifier state; a state that no entry names is level 1.
int LevelForModifiers(const XkbKeyTypeRec& Type, unsigned Modifiers)
{
    const unsigned Relevant = Modifiers & Type.mods.mask;
    for (int Index = 0; Index < Type.map_count; ++Index) {
        const XkbKTMapEntryRec& Entry = Type.map[Index];
        if (Entry.active && Entry.mods.mask == Relevant)
            return Entry.level;
    }
    return 0;
}

} // namespace

TX11Keymap::TX11Keymap(Display* Connection)
    : Connection(Connection)
{
}

TX11Keymap::~TX11Keymap()
{
    if (Keymap)
        XkbFreeKeyboard(Keymap, 0, True);
}

bool TX11Keymap::Load()
{
    int Opcode = 0, Error = 0, Major = XkbMajorVersion, Minor = XkbMinorVersion;
    if (!XkbQueryExtension(Connection, &Opcode, &EventBase, &Error, &Major, &Minor))
        return false;
    // Only this connection's own notifications keep the keymap current: Xlib's cache of the
    // core mapping is never refreshed on a connection whose events nobody reads.
    constexpr unsigned long Events = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(Connection, XkbUseCoreKbd, Events, Events);
    Refresh(TFreshness::RoundTrip);
    return Keymap != nullptr;
}

void TX11Keymap::HandleEvent(const XEvent& Event)
{
    if (Event.type == MappingNotify) {
        Stale = true;
        return;
    }
    if (Event.type != EventBase)
        return;
    const auto& Notification = reinterpret_cast<const XkbEvent&>(Event);
    if (Notification.any.xkb_type == XkbNewKeyboardNotify || Notification.any.xkb_type == XkbMapNotify)
        Stale = true;
}

void TX11Keymap::Refresh(TFreshness Freshness)
{
    if (Freshness == TFreshness::RoundTrip) {
        XkbStateRec State {};
        if (XkbGetState(Connection, XkbUseCoreKbd, &State) == Success) {
            Group = State.group;
            LockedGroupValue = State.locked_group;
            LockedModifiers = State.locked_mods;
        }
    }
    const int Mode = Freshness == TFreshness::Queued ? QueuedAlready : QueuedAfterReading;
    while (XEventsQueued(Connection, Mode) > 0) {
        XEvent Event;
        XNextEvent(Connection, &Event);
        HandleEvent(Event);
    }
    if (Stale) {
        XkbDescPtr Fresh = XkbGetMap(Connection, XkbAllClientInfoMask, XkbUseCoreKbd);
        if (Fresh && XkbGetNames(Connection, XkbKeyNamesMask | XkbKeyTypeNamesMask, Fresh) == Success) {
            if (Keymap)
                XkbFreeKeyboard(Keymap, 0, True);
            Keymap = Fresh;
            Stale = false;
            ++LoadCount;
            TableGroup = -1;
        } else if (Fresh) {
            XkbFreeKeyboard(Fresh, 0, True);
        }
    }
    if (Keymap && TableGroup != Group)
        BuildVirtualKeyTables();
}

int TX11Keymap::EffectiveGroup(KeyCode Keycode, int WantedGroup) const
{
    const int Groups = XkbKeyNumGroups(Keymap, Keycode);
    if (Groups <= 0 || WantedGroup < Groups)
        return WantedGroup;
    const unsigned char Info = XkbKeyGroupInfo(Keymap, Keycode);
    switch (XkbOutOfRangeGroupAction(Info)) {
    case XkbClampIntoRange:
        return Groups - 1;
    case XkbRedirectIntoRange: {
        const int Target = XkbOutOfRangeGroupNumber(Info);
        return Target < Groups ? Target : 0;
    }
    default:
        return WantedGroup % Groups;
    }
}

void TX11Keymap::BuildVirtualKeyTables()
{
    VirtualKeyToKeycode.fill(0);
    KeycodeToVirtualKey.fill(0);
    TableGroup = Group;
    Level3Mask = 0;
    KeyCode Level3Key = 0;
    KeyCode RightAltKey = 0;
    std::array<KeyCode, 256> PositionKey {};
    for (int Keycode = Keymap->min_key_code; Keycode <= Keymap->max_key_code; ++Keycode) {
        std::string_view Name;
        if (Keymap->names && Keymap->names->keys) {
            const char* Raw = Keymap->names->keys[Keycode].name;
            Name = std::string_view(Raw, strnlen(Raw, XkbKeyNameLength));
        }
        if (const auto VirtualKey = VirtualKeyForKeyName(Name); VirtualKey && !PositionKey[VirtualKey])
            PositionKey[VirtualKey] = KeyCode(Keycode);
        if (Name == "RALT")
            RightAltKey = KeyCode(Keycode);
        if (XkbKeyNumGroups(Keymap, Keycode) == 0)
            continue;
        const int KeyGroup = EffectiveGroup(KeyCode(Keycode), Group);
        const KeySym First = XkbKeySymEntry(Keymap, Keycode, 0, KeyGroup);
        // Letters follow the layout: the virtual key 'A' is the key whose first level is "a".
        if (First >= XK_a && First <= XK_z && !VirtualKeyToKeycode['A' + (First - XK_a)])
            VirtualKeyToKeycode['A' + (First - XK_a)] = KeyCode(Keycode);
        // Level 3 is the key carrying ISO_Level3_Shift, not Mode_switch (that one changes group),
        // even though both often sit on Mod5. The right Alt key is preferred when it is one.
        if (First == XK_ISO_Level3_Shift && (!Level3Key || Name == "RALT"))
            Level3Key = KeyCode(Keycode);
    }
    for (int VirtualKey = 0; VirtualKey < 256; ++VirtualKey) {
        const bool Letter = VirtualKey >= 'A' && VirtualKey <= 'Z';
        if (!VirtualKeyToKeycode[VirtualKey] && PositionKey[VirtualKey]) {
            // A letter typed nowhere at level 1 (a Greek group) keeps its US place, unless that
            // place now holds another letter's virtual key.
            bool Taken = false;
            if (Letter)
                for (int Other = 'A'; Other <= 'Z'; ++Other)
                    Taken = Taken || VirtualKeyToKeycode[Other] == PositionKey[VirtualKey];
            if (!Taken)
                VirtualKeyToKeycode[VirtualKey] = PositionKey[VirtualKey];
        }
    }
    VirtualKeyToKeycode[VkRightMenu] = Level3Key ? Level3Key : RightAltKey;
    if (Level3Key)
        Level3Mask = Keymap->map->modmap[Level3Key] ? Keymap->map->modmap[Level3Key] : Mod5Mask;
    for (int VirtualKey = 1; VirtualKey < 256; ++VirtualKey) {
        const KeyCode Keycode = VirtualKeyToKeycode[VirtualKey];
        if (Keycode && !KeycodeToVirtualKey[Keycode])
            KeycodeToVirtualKey[Keycode] = std::uint8_t(VirtualKey);
    }
    VirtualKeyToKeycode[VkShift] = VirtualKeyToKeycode[VkLeftShift];
    VirtualKeyToKeycode[VkControl] = VirtualKeyToKeycode[0xA2];
    VirtualKeyToKeycode[VkMenu] = VirtualKeyToKeycode[0xA4];
}

std::optional<TKeyChoice> TX11Keymap::FindInGroup(
    KeyCode Keycode, int KeyGroup, const TKeysymCandidates& Keysyms) const
{
    const XkbKeyTypeRec* Type = XkbKeyKeyType(Keymap, Keycode, KeyGroup);
    const int Width = XkbKeyGroupWidth(Keymap, Keycode, KeyGroup);
    // The modifier frames the sender can press, cheapest first; Caps Lock and Num Lock stay as
    // they are, so the frame is the one that gives the wanted level under them.
    const unsigned Frames = Level3Mask ? 4 : 2;
    for (unsigned Frame = 0; Frame < Frames; ++Frame) {
        const bool Shift = Frame & 1;
        const bool Level3 = Frame & 2;
        const unsigned Modifiers = LockedModifiers | (Shift ? ShiftMask : 0) | (Level3 ? Level3Mask : 0);
        const int Level = LevelForModifiers(*Type, Modifiers);
        if (Level < Width && Keysyms.Contains(XkbKeySymEntry(Keymap, Keycode, Level, KeyGroup)))
            return TKeyChoice {Keycode, KeyGroup, Shift, Level3};
    }
    return std::nullopt;
}

std::optional<TKeyChoice> TX11Keymap::FindKeysym(const TKeysymCandidates& Keysyms) const
{
    if (!Keymap || !Keysyms.Count)
        return std::nullopt;
    auto Cost = [](const TKeyChoice& Choice) { return (Choice.Level3 ? 2 : 0) + (Choice.Shift ? 1 : 0); };
    std::optional<TKeyChoice> Best;
    for (int Keycode = Keymap->min_key_code; Keycode <= Keymap->max_key_code; ++Keycode) {
        if (XkbKeyNumGroups(Keymap, Keycode) == 0)
            continue;
        auto Choice = FindInGroup(KeyCode(Keycode), EffectiveGroup(KeyCode(Keycode), Group), Keysyms);
        if (Choice && (!Best || Cost(*Choice) < Cost(*Best)))
            Best = Choice;
    }
    if (Best)
        return Best;
    for (int Keycode = Keymap->min_key_code; Keycode <= Keymap->max_key_code; ++Keycode) {
        for (int KeyGroup = 0; KeyGroup < XkbKeyNumGroups(Keymap, Keycode); ++KeyGroup) {
            auto Choice = FindInGroup(KeyCode(Keycode), KeyGroup, Keysyms);
            if (Choice && (!Best || Cost(*Choice) < Cost(*Best)))
                Best = Choice;
        }
    }
    return Best;
}

