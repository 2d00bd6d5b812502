#include "X11XkbTyping.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct TStateDeleter {
    void operator()(xkb_state* State) const { xkb_state_unref(State); }
};
using TState = std::unique_ptr<xkb_state, TStateDeleter>;

TKeysym FirstLevelKeysym(xkb_keymap* Keymap, xkb_keycode_t Keycode)
{
    const xkb_keysym_t* Keysyms = nullptr;
    return xkb_keymap_key_get_syms_by_level(Keymap, Keycode, 0, 0, &Keysyms) == 1 ? Keysyms[0] : 0;
}

xkb_keycode_t KeycodeOf(xkb_keymap* Keymap, TKeysym Keysym)
{
    const xkb_keycode_t Last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(Keymap), 255);
    for (xkb_keycode_t Keycode = xkb_keymap_min_keycode(Keymap); Keycode <= Last; ++Keycode)
        if (FirstLevelKeysym(Keymap, Keycode) == Keysym)
            return Keycode;
    return 0;
}

int Cost(const TKeyPlace& Place) { return (Place.Level3 ? 2 : 0) + (Place.Shift ? 1 : 0); }

} // namespace

TXkbTyping::TXkbTyping(xkb_keymap* Keymap)
    : Keymap(xkb_keymap_ref(Keymap))
{
    const xkb_keycode_t Last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(Keymap), 255);
    for (xkb_keycode_t Keycode = xkb_keymap_min_keycode(Keymap); Keycode <= Last; ++Keycode) {
        if (FirstLevelKeysym(Keymap, Keycode) != XKB_KEY_ISO_Level3_Shift)
            continue;
        const char* Name = xkb_keymap_key_get_name(Keymap, Keycode);
        if (!Level3Keycode || (Name && std::strcmp(Name, "RALT") == 0))
            Level3Keycode = std::uint8_t(Keycode);
    }
    ShiftKeycode = std::uint8_t(KeycodeOf(Keymap, XKB_KEY_Shift_L));
    if (Level3Keycode) {
        // What the key sets when pressed: the modifiers the sender holds by holding it.
        const TState State(xkb_state_new(Keymap));
        xkb_state_update_key(State.get(), Level3Keycode, XKB_KEY_DOWN);
        Level3Modifiers = xkb_state_serialize_mods(State.get(), XKB_STATE_MODS_DEPRESSED);
    }
}

TXkbTyping::~TXkbTyping() { xkb_keymap_unref(Keymap); }

void TXkbTyping::Build(unsigned LockedModifiers) const
{
    Slots.clear();
    const xkb_keycode_t First = xkb_keymap_min_keycode(Keymap);
    const xkb_keycode_t Last = std::min<xkb_keycode_t>(xkb_keymap_max_keycode(Keymap), 255);
    const int Frames = Level3Keycode ? 4 : 2;
    const xkb_layout_index_t Groups = xkb_keymap_num_layouts(Keymap);
    for (xkb_layout_index_t Group = 0; Group < Groups; ++Group)
        for (int Frame = 0; Frame < Frames; ++Frame) {
            const bool Shift = (Frame & 1) != 0, Level3 = (Frame & 2) != 0;
            // The frame's keys pressed as the sender presses them, Shift first: on some layouts
            // the level-3 key does something else while Shift is down.
            const TState State(xkb_state_new(Keymap));
            xkb_state_update_mask(State.get(), 0, 0, LockedModifiers, 0, 0, Group);
            if (Shift && ShiftKeycode)
                xkb_state_update_key(State.get(), ShiftKeycode, XKB_KEY_DOWN);
            if (Level3)
                xkb_state_update_key(State.get(), Level3Keycode, XKB_KEY_DOWN);
            for (xkb_keycode_t Keycode = First; Keycode <= Last; ++Keycode)
                // The keysym after Lock's capitalization, as clients apply it.
                if (const char32_t Character = CodePointOfKeysym(xkb_state_key_get_one_sym(State.get(), Keycode)))
                    Slots.push_back({Character, {std::uint8_t(Keycode), int(Group), Shift, Level3}});
        }
    std::stable_sort(Slots.begin(), Slots.end(), [](const TSlot& Left, const TSlot& Right) {
        return Left.Character != Right.Character ? Left.Character < Right.Character : Cost(Left.Place) < Cost(Right.Place);
    });
    BuiltFor = LockedModifiers;
}

std::optional<TKeyPlace> TXkbTyping::Find(char32_t Character, int Group, unsigned LockedModifiers) const
{
    if (BuiltFor != LockedModifiers)
        Build(LockedModifiers);
    const auto [Begin, End] = std::equal_range(Slots.begin(), Slots.end(), TSlot {Character, {}},
        [](const TSlot& Left, const TSlot& Right) { return Left.Character < Right.Character; });
    std::optional<TKeyPlace> Other;
    for (auto Slot = Begin; Slot != End; ++Slot) {
        if (Slot->Place.Group == Group)
            return Slot->Place;
        if (!Other)
            Other = Slot->Place;
    }
    return Other;
}
