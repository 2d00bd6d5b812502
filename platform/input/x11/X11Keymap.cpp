#include "X11Keymap.h"

#include "X11ErrorTrap.h"

#include <X11/Xlib-xcb.h>
#include <xkbcommon/xkbcommon-x11.h>

#include <cstring>

TX11Keymap::TX11Keymap(Display* Connection)
    : Connection(Connection)
    , Xcb(XGetXCBConnection(Connection))
    , Context(xkb_context_new(xkb_context_flags(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES)))
    , Alphabetic(XInternAtom(Connection, "ALPHABETIC", False))
    , FourLevelAlphabetic(XInternAtom(Connection, "FOUR_LEVEL_ALPHABETIC", False))
{
}

TX11Keymap::~TX11Keymap() { xkb_context_unref(Context); }

bool TX11Keymap::Load(TUserText& Error)
{
    int Opcode = 0, XkbError = 0, Major = XkbMajorVersion, Minor = XkbMinorVersion;
    if (!XkbQueryExtension(Connection, &Opcode, &EventBase, &XkbError, &Major, &Minor)) {
        Error = { QT_TRANSLATE_NOOP("kivo", "the X server %1 has no XKEYBOARD extension, so its layout cannot be read"), {} };
        return false;
    }
    // Only this connection's own notifications keep the map current: Xlib's cache of the core
    // mapping is never refreshed on a connection whose events nobody reads.
    TX11ErrorTrap Trap(Connection, "selecting keyboard notifications");
    constexpr unsigned long MapEvents = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(Connection, XkbUseCoreKbd, MapEvents | XkbStateNotifyMask, MapEvents | XkbStateNotifyMask);
    constexpr unsigned long StateDetails = XkbGroupStateMask | XkbModifierLockMask;
    XkbSelectEventDetails(Connection, XkbUseCoreKbd, XkbStateNotify, XkbAllStateComponentsMask, StateDetails);
    if (Trap.Failed()) {
        Error = { QT_TRANSLATE_NOOP("kivo", "the X server %1 refused the keyboard notifications"), {} };
        return false;
    }
    if (!Context || !xkb_x11_setup_xkb_extension(Xcb, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)
        || (KeyboardDevice = xkb_x11_get_core_keyboard_device_id(Xcb)) < 0) {
        Error = { QT_TRANSLATE_NOOP("kivo", "the keyboard map of the X server %1 cannot be read for libxkbcommon"), {} };
        return false;
    }
    ReadState();
    if (!ReadMap()) {
        Error = { QT_TRANSLATE_NOOP("kivo", "the X server %1 did not give its keyboard map"), {} };
        return false;
    }
    return true;
}

void TX11Keymap::AssumeGroups(int Active, int Locked, unsigned long Serial)
{
    ActiveGroup = Active;
    LockedGroupValue = Locked;
    GroupsSetAt = Serial ? Serial : 1;
}

void TX11Keymap::ReadState()
{
    XkbStateRec State {};
    const unsigned long Asked = NextRequest(Connection);
    if (XkbGetState(Connection, XkbUseCoreKbd, &State) == Success) {
        AssumeGroups(State.group, State.locked_group, Asked);
        LockedModifierBits = State.locked_mods;
    }
}

void TX11Keymap::HandleEvent(const XEvent& Event)
{
    if (Event.type != EventBase) {
        if (OnOtherEvent)
            OnOtherEvent(Event);
        return;
    }
    const auto& Notification = reinterpret_cast<const XkbEvent&>(Event);
    switch (Notification.any.xkb_type) {
    case XkbStateNotify:
        // Serials wrap: compared by difference.
        if (!GroupsSetAt || long(Notification.any.serial - GroupsSetAt) >= 0) {
            ActiveGroup = Notification.state.group;
            LockedGroupValue = Notification.state.locked_group;
            GroupsSetAt = 0;
        }
        LockedModifierBits = Notification.state.locked_mods;
        break;
    case XkbNewKeyboardNotify:
    case XkbMapNotify:
        Stale = true;
        break;
    default:
        break;
    }
}

void TX11Keymap::Refresh()
{
    while (XEventsQueued(Connection, QueuedAfterReading) > 0) {
        XEvent Event;
        XNextEvent(Connection, &Event);
        HandleEvent(Event);
    }
    if (Stale)
        ReadMap();
}

bool TX11Keymap::ReadMap()
{
    TX11KeymapModel Fresh;
    xkb_keymap* Typed = ReadModel(Fresh) ? xkb_x11_keymap_new_from_device(Context, Xcb, KeyboardDevice, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    if (!Typed) {
        ReportToUser({ QT_TRANSLATE_NOOP("kivo", "the keyboard map could not be read; keeping the previous one"), {} });
        return false;
    }
    Fresh.Typing = std::make_shared<const TXkbTyping>(Typed);
    xkb_keymap_unref(Typed);
    Current = std::move(Fresh);
    Stale = false;
    ++LoadCount;
    return true;
}

bool TX11Keymap::ReadModel(TX11KeymapModel& Model)
{
    TX11ErrorTrap Trap(Connection, "reading the keyboard map");
    XkbDescPtr Map = XkbGetMap(Connection, XkbAllClientInfoMask, XkbUseCoreKbd);
    if (!Map)
        return false;
    if (XkbGetNames(Connection, XkbKeyNamesMask | XkbKeyTypeNamesMask, Map) != Success || !Map->map) {
        XkbFreeKeyboard(Map, 0, True);
        return false;
    }
    ModelOf(Map, Model);
    XkbFreeKeyboard(Map, 0, True);
    return !Trap.Failed();
}

void TX11Keymap::ModelOf(XkbDescPtr Map, TX11KeymapModel& Model) const
{
    Model.MinKeycode = Map->min_key_code;
    Model.MaxKeycode = Map->max_key_code;
    Model.Types.clear();
    for (int Index = 0; Index < Map->map->num_types; ++Index) {
        const XkbKeyTypeRec& Type = Map->map->types[Index];
        TX11KeyType Plain;
        // Only the two alphabetic types are ever looked up by name; asking the server for
        // every name would cost a round trip each.
        if (Type.name == Alphabetic)
            Plain.Name = "ALPHABETIC";
        else if (Type.name == FourLevelAlphabetic)
            Plain.Name = "FOUR_LEVEL_ALPHABETIC";
        Plain.Mask = Type.mods.mask;
        Plain.Levels = Type.num_levels;
        for (int Entry = 0; Entry < Type.map_count; ++Entry)
            if (Type.map[Entry].active)
                Plain.Entries.push_back({Type.map[Entry].mods.mask, Type.map[Entry].level});
        Model.Types.push_back(std::move(Plain));
    }
    for (int Keycode = 0; Keycode < 256; ++Keycode)
        Model.Keys[std::size_t(Keycode)] = {};
    for (int Keycode = Map->min_key_code; Keycode <= Map->max_key_code; ++Keycode) {
        TX11Key& Key = Model.Keys[std::size_t(Keycode)];
        if (Map->names && Map->names->keys) {
            const char* Raw = Map->names->keys[Keycode].name;
            Key.Name.assign(Raw, strnlen(Raw, XkbKeyNameLength));
        }
        Key.Modifiers = Map->map->modmap ? Map->map->modmap[Keycode] : 0;
        for (int Group = 0; Group < XkbKeyNumGroups(Map, Keycode); ++Group) {
            TX11KeyGroup Plain;
            Plain.Type = XkbKeyKeyTypeIndex(Map, Keycode, Group);
            const int Width = XkbKeyGroupWidth(Map, Keycode, Group);
            for (int Level = 0; Level < Width; ++Level)
                Plain.Levels.push_back(TKeysym(XkbKeySymEntry(Map, Keycode, Level, Group)));
            Key.Groups.push_back(std::move(Plain));
        }
    }
    Model.Index();
}
