// What the backend presses for a character, against libxkbcommon pressing real keys, over every
// layout and variant that xkb-data ships, Caps Lock off and on. The reference finds by brute
// force every key and frame (the Shift key, the level-3 key, both, neither) that types each
// character once Caps Lock has been pressed; the backend must find one exactly where the
// reference does, of the same cost, and what it finds must type that character.
#include <gtest/gtest.h>

#include "X11XkbTyping.h"

#include <xkbcommon/xkbcommon.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct TLayout {
    std::string Layout, Variant;
};

// Every layout and variant of xkb-data's evdev rules.
std::vector<TLayout> EveryLayout()
{
    std::ifstream List("/usr/share/X11/xkb/rules/evdev.lst");
    std::vector<TLayout> Layouts;
    std::string Line, Section;
    while (std::getline(List, Line)) {
        if (Line.starts_with("! ")) {
            Section = Line.substr(2);
            continue;
        }
        std::istringstream Words(Line);
        std::string Name, Parent;
        Words >> Name >> Parent;
        if (Section == "layout" && !Name.empty())
            Layouts.push_back({Name, ""});
        else if (Section == "variant" && Parent.ends_with(':'))
            Layouts.push_back({Parent.substr(0, Parent.size() - 1), Name});
    }
    return Layouts;
}

template <auto Unref>
struct TUnref {
    void operator()(auto* Object) const { Unref(Object); }
};
using TKeymap = std::unique_ptr<xkb_keymap, TUnref<xkb_keymap_unref>>;
using TState = std::unique_ptr<xkb_state, TUnref<xkb_state_unref>>;

xkb_context* Context()
{
    static const std::unique_ptr<xkb_context, TUnref<xkb_context_unref>> Shared(
        xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    return Shared.get();
}

TKeymap Compile(const TLayout& Layout)
{
    const xkb_rule_names Names {"evdev", "pc105", Layout.Layout.c_str(), Layout.Variant.c_str(), nullptr};
    return TKeymap(xkb_keymap_new_from_names(Context(), &Names, XKB_KEYMAP_COMPILE_NO_FLAGS));
}

xkb_keycode_t KeyOf(xkb_keymap* Keymap, xkb_keysym_t Keysym)
{
    for (xkb_keycode_t Keycode = xkb_keymap_min_keycode(Keymap); Keycode <= xkb_keymap_max_keycode(Keymap); ++Keycode) {
        const xkb_keysym_t* Keysyms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(Keymap, Keycode, 0, 0, &Keysyms) == 1 && Keysyms[0] == Keysym)
            return Keycode;
    }
    return 0;
}

// A keyboard as the user has it: Caps Lock pressed and released (or not), then the frame's keys
// held down, as the backend presses them.
struct TPressedKeys {
    xkb_keymap* Keymap;
    xkb_keycode_t CapsLock, Shift, Level3;

    TState With(bool Caps, bool HoldShift, bool HoldLevel3) const
    {
        TState State(xkb_state_new(Keymap));
        if (Caps) {
            xkb_state_update_key(State.get(), CapsLock, XKB_KEY_DOWN);
            xkb_state_update_key(State.get(), CapsLock, XKB_KEY_UP);
        }
        if (HoldShift)
            xkb_state_update_key(State.get(), Shift, XKB_KEY_DOWN);
        if (HoldLevel3)
            xkb_state_update_key(State.get(), Level3, XKB_KEY_DOWN);
        return State;
    }
};

// Under a Lock the key leaves alone, a cased character that Lock did not capitalize is typed by
// whatever the client's case rules make of it: no place for it.
bool Questionable(xkb_state* State, xkb_keycode_t Keycode, char32_t Character)
{
    const xkb_keysym_t Keysym = xkb_state_key_get_one_sym(State, Keycode);
    const xkb_mod_index_t Lock = xkb_keymap_mod_get_index(xkb_state_get_keymap(State), XKB_MOD_NAME_CAPS);
    if (!xkb_state_mod_index_is_active(State, Lock, XKB_STATE_MODS_LOCKED) || xkb_state_mod_index_is_consumed(State, Keycode, Lock))
        return false;
    const xkb_keysym_t* Plain = nullptr;
    const bool Cased = Character == U'\u03C2' || xkb_keysym_to_upper(Keysym) != Keysym || xkb_keysym_to_lower(Keysym) != Keysym;
    return Cased && xkb_state_key_get_syms(State, Keycode, &Plain) == 1 && CodePointOfKeysym(Plain[0]) == Character;
}

int Cost(bool Shift, bool Level3) { return (Level3 ? 2 : 0) + (Shift ? 1 : 0); }

// Differences between the backend and the reference on one layout, as readable lines.
std::vector<std::string> Differences(const TLayout& Layout, bool Caps)
{
    const TKeymap Keymap = Compile(Layout);
    if (!Keymap)
        return {}; // a variant that does not compile on its own is no layout to type on
    const TXkbTyping Typing(Keymap.get());
    const TPressedKeys Keys {Keymap.get(), KeyOf(Keymap.get(), XKB_KEY_Caps_Lock), KeyOf(Keymap.get(), XKB_KEY_Shift_L),
        Typing.Level3Key()};
    if (Caps && !Keys.CapsLock)
        return {};
    const unsigned Locked = Caps ? xkb_state_serialize_mods(Keys.With(true, false, false).get(), XKB_STATE_MODS_LOCKED) : 0;
    // The cheapest frame that types each character, by brute force.
    std::map<char32_t, int> Cheapest;
    const int Frames = Keys.Level3 ? 4 : 2;
    for (int Frame = 0; Frame < Frames; ++Frame) {
        const TState State = Keys.With(Caps, Frame & 1, Frame & 2);
        for (xkb_keycode_t Keycode = xkb_keymap_min_keycode(Keymap.get()); Keycode <= 255; ++Keycode)
            if (const char32_t Character = CodePointOfKeysym(xkb_state_key_get_one_sym(State.get(), Keycode));
                Character && !Questionable(State.get(), Keycode, Character)) {
                const auto [Known, New] = Cheapest.try_emplace(Character, Cost(Frame & 1, Frame & 2));
                if (!New)
                    Known->second = std::min(Known->second, Cost(Frame & 1, Frame & 2));
            }
    }
    // Every character on any level of the layout, and everything the reference can type.
    std::map<char32_t, bool> Asked;
    for (xkb_keycode_t Keycode = xkb_keymap_min_keycode(Keymap.get()); Keycode <= 255; ++Keycode)
        for (xkb_level_index_t Level = 0; Level < xkb_keymap_num_levels_for_key(Keymap.get(), Keycode, 0); ++Level) {
            const xkb_keysym_t* Keysyms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(Keymap.get(), Keycode, 0, Level, &Keysyms) == 1 && CodePointOfKeysym(Keysyms[0]))
                Asked[CodePointOfKeysym(Keysyms[0])] = true;
        }
    for (const auto& [Character, Cost] : Cheapest)
        Asked[Character] = true;

    std::vector<std::string> Found;
    const std::string Name = Layout.Layout + (Layout.Variant.empty() ? "" : "(" + Layout.Variant + ")") + (Caps ? " Caps" : "");
    for (const auto& [Character, Unused] : Asked) {
        const auto Place = Typing.Find(Character, 0, Locked);
        const auto Reference = Cheapest.find(Character);
        std::ostringstream Line;
        Line << Name << " U+" << std::hex << unsigned(Character) << ": ";
        if (!Place || Reference == Cheapest.end()) {
            if (Place || Reference != Cheapest.end())
                Found.push_back(Line.str() + (Place ? "found, but no key types it" : "not found, but a key types it"));
            continue;
        }
        const TState State = Keys.With(Caps, Place->Shift, Place->Level3);
        const char32_t Typed = CodePointOfKeysym(xkb_state_key_get_one_sym(State.get(), Place->Keycode));
        if (Typed != Character || Place->Group != 0)
            Found.push_back(Line.str() + "key " + std::to_string(Place->Keycode) + " types U+" + std::to_string(unsigned(Typed)));
        else if (Cost(Place->Shift, Place->Level3) != Reference->second)
            Found.push_back(Line.str() + "a cheaper frame types it");
    }
    return Found;
}

TEST(TXkbTyping, EveryLayoutTypesWhatItsKeysShowWithCapsLockOffAndOn)
{
    const auto Layouts = EveryLayout();
    ASSERT_GT(Layouts.size(), 500u) << "xkb-data's list of layouts was not read";
    std::vector<std::string> Wrong;
    std::size_t Checked = 0;
    for (const auto& Layout : Layouts)
        for (const bool Caps : {false, true}) {
            auto More = Differences(Layout, Caps);
            Wrong.insert(Wrong.end(), More.begin(), More.end());
            ++Checked;
        }
    std::string First;
    for (std::size_t Index = 0; Index < Wrong.size() && Index < 20; ++Index)
        First += Wrong[Index] + "\n";
    EXPECT_TRUE(Wrong.empty()) << Wrong.size() << " wrong over " << Checked << " layouts and lock states, first:\n" << First;
}

} // namespace
