#include "X11SpareMapping.h"

#include "X11ErrorTrap.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>

#include <vector>

#include <algorithm>

bool TX11SpareMapping::Holds(std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    int PerKeycode = 0;
    KeySym* Core = XGetKeyboardMapping(Connection, Keycode, 1, &PerKeycode);
    if (!Core)
        return false;
    // The core view of an XKB key shows its first group's first two levels in columns 0 and 1;
    // an empty key shows NoSymbol everywhere.
    bool Same = true;
    const int Checked = Count ? std::min(PerKeycode, 2) : PerKeycode;
    for (int Column = 0; Column < Checked; ++Column)
        Same = Same && Core[Column] == (Column < Count ? Symbols[Column] : NoSymbol);
    XFree(Core);
    return Same;
}

bool TX11SpareMapping::SendXkb(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    {
        // A refusal is this trap's, not one for the program's error output.
        TX11ErrorTrap Trap(Connection, "mapping a spare key");
        XkbChangeMap(Connection, Map, &Changes);
        Trap.Failed();
    }
    return Holds(Keycode, Symbols, Count);
}

XkbDescPtr TX11SpareMapping::DeviceMapWithKey(unsigned Device, std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    XkbDescPtr Map = XkbGetMap(Connection, XkbAllClientInfoMask, Device);
    if (!Map)
        return nullptr;
    bool Ready = XkbGetNames(Connection, XkbKeyTypeNamesMask, Map) == Success && Map->map && Map->names;
    if (Ready && Count == 0) {
        int NoTypes[XkbNumKbdGroups] = {};
        XkbMapChangesRec Ignored {};
        Ready = XkbChangeTypesOfKey(Map, Keycode, 0, XkbGroup1Mask, NoTypes, &Ignored) == Success;
    } else if (Ready) {
        // The type by name: its index differs between the devices.
        const Atom Wanted = XInternAtom(Connection, Count == 4 ? "FOUR_LEVEL_ALPHABETIC" : "ALPHABETIC", False);
        int Type = -1;
        for (int Index = 0; Index < Map->map->num_types; ++Index)
            if (Map->map->types[Index].name == Wanted)
                Type = Index;
        KeySym* Slots = Type >= 0 ? XkbResizeKeySyms(Map, Keycode, Count) : nullptr;
        Ready = Slots != nullptr;
        if (Ready) {
            XkbSymMapRec& Entry = Map->map->key_sym_map[Keycode];
            Entry.kt_index[0] = std::uint8_t(Type);
            Entry.group_info = XkbSetGroupInfo(1, XkbWrapIntoRange, 0);
            Entry.width = std::uint8_t(Count);
            std::copy(Symbols, Symbols + Count, Slots);
        }
    }
    if (!Ready) {
        XkbFreeKeyboard(Map, 0, True);
        return nullptr;
    }
    return Map;
}

bool TX11SpareMapping::SendEachDevice(std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    int Number = 0;
    XDeviceInfo* Devices = XListInputDevices(Connection, &Number);
    if (!Devices)
        return false;
    // Every device's map is read before any is written: the core keyboard's request reaches
    // the devices behind it with its types, and each of them then gets its own back.
    std::vector<XkbDescPtr> Maps;
    bool Complete = true;
    for (const int Use : {IsXKeyboard, IsXExtensionKeyboard})
        for (int Index = 0; Index < Number; ++Index)
            if (Devices[Index].use == Use) {
                XkbDescPtr Map = DeviceMapWithKey(unsigned(Devices[Index].id), Keycode, Symbols, Count);
                Complete = Complete && Map;
                if (Map)
                    Maps.push_back(Map);
            }
    XFreeDeviceList(Devices);
    if (Complete && !Maps.empty()) {
        TX11ErrorTrap Trap(Connection, "mapping a spare key");
        for (XkbDescPtr Map : Maps) {
            XkbMapChangesRec Changes {};
            Changes.changed = XkbKeySymsMask | XkbKeyTypesMask;
            Changes.first_key_sym = Keycode;
            Changes.num_key_syms = 1;
            Changes.first_type = 0;
            Changes.num_types = Map->map->num_types;
            XkbChangeMap(Connection, Map, &Changes);
        }
        Complete = !Trap.Failed();
    }
    for (XkbDescPtr Map : Maps)
        XkbFreeKeyboard(Map, 0, True);
    return Complete && !Maps.empty() && Holds(Keycode, Symbols, Count);
}

bool TX11SpareMapping::SendCore(std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    {
        TX11ErrorTrap Trap(Connection, "mapping a spare key");
        // One column of NoSymbol empties the key: the server fills the other columns the same.
        KeySym Columns[2] = {NoSymbol, NoSymbol};
        for (int Column = 0; Column < Count; ++Column)
            Columns[Column] = Symbols[Column];
        XChangeKeyboardMapping(Connection, Keycode, Count ? Count : 1, Columns, 1);
        Trap.Failed();
    }
    return Holds(Keycode, Symbols, Count);
}

bool TX11SpareMapping::Send(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Count)
{
    if (Route == rtXkb) {
        if (SendXkb(Map, Changes, Keycode, Symbols, Count))
            return true;
        Route = rtEachDevice;
    }
    if (Route == rtEachDevice) {
        if (SendEachDevice(Keycode, Symbols, Count))
            return true;
        Route = rtCore;
    }
    return Count <= 2 && SendCore(Keycode, Symbols, Count);
}

bool TX11SpareMapping::SetKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode, const KeySym* Symbols, int Levels)
{
    return Send(Map, Changes, Keycode, Symbols, Levels);
}

bool TX11SpareMapping::ClearKey(XkbDescPtr Map, XkbMapChangesRec& Changes, std::uint8_t Keycode)
{
    return Send(Map, Changes, Keycode, nullptr, 0);
}
