// The virtual keyboard's keymap, compiled by libxkbcommon as a compositor and its programs
// compile it: every character KIVO types must come out of the key it was given, at the first
// level, with no modifier; keycodes must stay within X11's range for XWayland programs.
#include "NamedKeys.h"
#include "WlrKeymap.h"

#include <xkbcommon/xkbcommon.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

struct TCompiled {
    std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> Context { xkb_context_new(XKB_CONTEXT_NO_FLAGS), xkb_context_unref };
    std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> Keymap { nullptr, xkb_keymap_unref };
    std::unique_ptr<xkb_state, decltype(&xkb_state_unref)> State { nullptr, xkb_state_unref };

    explicit TCompiled(const TWlrKeymap& Source)
    {
        Keymap.reset(xkb_keymap_new_from_string(Context.get(), Source.Text().c_str(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
        if (Keymap)
            State.reset(xkb_state_new(Keymap.get()));
    }
    // What the key types with nothing held, as a program reads it.
    char32_t Types(std::uint32_t Keycode) const { return xkb_state_key_get_utf32(State.get(), Keycode); }
    xkb_keysym_t Keysym(std::uint32_t Keycode) const { return xkb_state_key_get_one_sym(State.get(), Keycode); }
};

TEST(WlrKeymap, EveryCharacterTypesFromItsKeyWithoutModifiers)
{
    TWlrKeymap Keymap;
    const char32_t Characters[] = { U'a', U'A', U'~', U'\u00E9', U'\u03B1', U'\u03A9', U'\u1F04', U'\u1FB7', U'\u0301', U'\u0313',
        U'\u0345', U'\u20AC', U'\U0001D11E', U'\u00A0' };
    std::map<char32_t, std::uint32_t> Given;
    std::set<std::uint32_t> Keycodes;
    for (const char32_t Character : Characters) {
        const auto Assigned = Keymap.Assign(Character);
        ASSERT_TRUE(Assigned) << std::hex << unsigned(Character);
        EXPECT_GE(Assigned->Keycode, 9u);
        EXPECT_LE(Assigned->Keycode, 255u);
        EXPECT_TRUE(Keycodes.insert(Assigned->Keycode).second) << "a key given twice: " << Assigned->Keycode;
        Given[Character] = Assigned->Keycode;
    }
    const TCompiled Compiled(Keymap);
    ASSERT_TRUE(Compiled.Keymap) << Keymap.Text();
    for (const auto& [Character, Keycode] : Given) {
        EXPECT_EQ(Compiled.Types(Keycode), Character) << std::hex << unsigned(Character) << " at " << std::dec << Keycode;
        EXPECT_EQ(xkb_keymap_num_levels_for_key(Compiled.Keymap.get(), Keycode, 0), 1u) << Keycode;
    }
}

TEST(WlrKeymap, TheKeymapChangesOnlyForACharacterWithoutAKey)
{
    TWlrKeymap Keymap;
    // On US keys and the Greek letters: there from the start.
    for (const char32_t Character : { U'q', U'1', U'/', U'\u03C9', U'\u0391' })
        EXPECT_FALSE(Keymap.Assign(Character)->KeymapChanged) << std::hex << unsigned(Character);
    EXPECT_TRUE(Keymap.Assign(U'\u1F00')->KeymapChanged);
    EXPECT_FALSE(Keymap.Assign(U'\u1F00')->KeymapChanged);
}

// Every named key sits where a PC keyboard has it (an XKB keycode is the evdev code plus 8; the
// codes themselves are tested with the table of Linux keys) and gives its keysym there.
TEST(WlrKeymap, NamedKeysSitWhereAPcKeyboardHasThemAndModifiersAct)
{
    const TWlrKeymap Keymap;
    const TCompiled Compiled(Keymap);
    ASSERT_TRUE(Compiled.Keymap);
    for (int Key = 0; Key < nkNamedKeyCount; ++Key) {
        const TLinuxKey Linux = LinuxKeyOf(TNamedKey(Key));
        const std::uint32_t Keycode = TWlrKeymap::KeycodeOfNamedKey(TNamedKey(Key));
        EXPECT_EQ(Keycode, Linux.EvdevCode + 8) << "named key " << Key;
        EXPECT_EQ(Compiled.Keysym(Keycode), Linux.Keysym) << "named key " << Key << " at " << Keycode;
    }
    // The modifier bits the backend sends are the keymap's: Shift 0, Control 2, Mod1 3, Mod5 7.
    for (const auto& [Name, Bit] : { std::pair { XKB_MOD_NAME_SHIFT, 0u }, std::pair { XKB_MOD_NAME_CTRL, 2u },
             std::pair { XKB_MOD_NAME_ALT, 3u }, std::pair { "Mod5", 7u } })
        EXPECT_EQ(xkb_keymap_mod_get_index(Compiled.Keymap.get(), Name), Bit) << Name;
    xkb_state_update_key(Compiled.State.get(), 50, XKB_KEY_DOWN);
    EXPECT_TRUE(xkb_state_mod_name_is_active(Compiled.State.get(), XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_DEPRESSED) > 0);
}

TEST(WlrKeymap, CharactersWithoutAKeyAreRefused)
{
    TWlrKeymap Keymap;
    for (const char32_t Character : { U'\0', char32_t(0x01), char32_t(0x7F), char32_t(0x85), char32_t(0xD800), char32_t(0x110000) })
        EXPECT_FALSE(Keymap.Assign(Character)) << std::hex << unsigned(Character);
    // Those with a named key of their own go there instead.
    const std::pair<char32_t, TNamedKey> Named[] = { { U'\r', nkReturn }, { U'\n', nkReturn }, { U'\b', nkBackSpace },
        { U' ', nkSpace } };
    for (const auto& [Character, Key] : Named)
        EXPECT_EQ(TWlrKeymap::NamedKeyOfCharacter(Character), Key) << unsigned(Character);
    EXPECT_FALSE(TWlrKeymap::NamedKeyOfCharacter(U'a'));
}

TEST(WlrKeymap, WhenSpareKeysRunOutTheOldestUnheldOneIsGivenAgain)
{
    TWlrKeymap Keymap;
    const std::uint32_t Held = Keymap.Assign(U'\u1F00')->Keycode;
    Keymap.SetHeld(Held, true);
    const std::uint32_t Oldest = Keymap.Assign(U'\u1F01')->Keycode;
    // Far more characters than spare keys: every one gets a key, the keymap stays valid.
    for (char32_t Character = U'\u4E00'; Character < U'\u4E00' + 400; ++Character)
        ASSERT_TRUE(Keymap.Assign(Character)) << std::hex << unsigned(Character);
    EXPECT_EQ(Keymap.CharacterOf(Held), U'\u1F00');
    EXPECT_NE(Keymap.CharacterOf(Oldest), U'\u1F01');
    // The US keys kept theirs; a Greek letter given away gets a key again.
    EXPECT_EQ(Keymap.CharacterOf(38), U'a');
    const auto Alpha = Keymap.Assign(U'\u03B1');
    ASSERT_TRUE(Alpha);
    const TCompiled Compiled(Keymap);
    ASSERT_TRUE(Compiled.Keymap);
    EXPECT_EQ(Compiled.Types(Held), U'\u1F00');
    EXPECT_EQ(Compiled.Types(Alpha->Keycode), U'\u03B1');
    EXPECT_EQ(Compiled.Types(38), U'a');
    // Released, it may go too.
    Keymap.SetHeld(Held, false);
    for (char32_t Character = U'\u5000'; Character < U'\u5000' + 400; ++Character)
        Keymap.Assign(Character);
    EXPECT_NE(Keymap.CharacterOf(Held), U'\u1F00');
}

} // namespace
