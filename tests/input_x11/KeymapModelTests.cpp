// The backend's pure part on a hand-built keymap, without a server: which keys carry keysyms,
// and where a character that no key types goes among the spare keys.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>

// After gtest: Xlib's macros would clash with names in its headers.
#include "X11KeymapModel.h"
#include "X11Keysyms.h"
#include "X11SpareKeys.h"

#include <X11/keysym.h>

namespace {

constexpr unsigned Mod5 = 1u << 7; // level 3

enum { OneLevel, TwoLevel, Alphabetic, FourLevelAlphabetic };

// A keyboard with a US group and a Greek one, AltGr on the right Alt key (and a second level-3
// key before it), a keypad key and two empty keycodes.
TX11KeymapModel HandBuiltKeymap()
{
    TX11KeymapModel Model;
    Model.Types = {
        {"", 0, 1, {}},
        {"", ShiftModifierBit, 2, {{ShiftModifierBit, 1}}},
        {"ALPHABETIC", ShiftModifierBit | LockModifierBit, 2, {{ShiftModifierBit, 1}, {LockModifierBit, 1}}},
        {"FOUR_LEVEL_ALPHABETIC", ShiftModifierBit | LockModifierBit | Mod5, 4,
            {{ShiftModifierBit, 1}, {LockModifierBit, 1}, {Mod5, 2}, {ShiftModifierBit | Mod5, 3}, {LockModifierBit | Mod5, 3},
                {ShiftModifierBit | LockModifierBit | Mod5, 2}}},
    };
    auto Key = [&](int Keycode, const char* Name, std::vector<TX11KeyGroup> Groups, unsigned Modifiers = 0) {
        Model.Keys[std::size_t(Keycode)] = TX11Key {Name, std::move(Groups), Modifiers};
    };
    Key(10, "AE01", {{TwoLevel, {'1', '!'}}});
    Key(24, "AD01", {{FourLevelAlphabetic, {'q', 'Q', '@', XK_Greek_OMEGA}}});
    Key(38, "AC01", {{Alphabetic, {'a', 'A'}}, {Alphabetic, {XK_Greek_alpha, XK_Greek_ALPHA}}});
    Key(50, "LFSH", {{OneLevel, {XK_Shift_L}}});
    Key(87, "KP1", {{TwoLevel, {XK_KP_End, XK_KP_1}}});
    Key(92, "LVL3", {{OneLevel, {XK_ISO_Level3_Shift}}}, Mod5);
    Key(108, "RALT", {{OneLevel, {XK_ISO_Level3_Shift}}}, Mod5);
    Model.MinKeycode = 8;
    Model.MaxKeycode = 255;
    Model.Index();
    return Model;
}

TEST(TKeymapModel, LevelThreeIsTheRightAltKeyWhenItCarriesIt)
{
    const auto Model = HandBuiltKeymap();
    EXPECT_EQ(Model.Level3Key(), 108);
    EXPECT_EQ(Model.Level3Mask(), Mod5);
    EXPECT_EQ(Model.KeycodeOf(XK_Shift_L), 50);
    EXPECT_EQ(Model.KeycodeOf(XK_KP_1), 87); // on its second level, for want of a first
    EXPECT_EQ(Model.KeycodeOf(XK_Tab), 0);
    EXPECT_TRUE(Model.IsEmpty(248));
    EXPECT_FALSE(Model.IsEmpty(38));
}

TEST(TKeysyms, CharactersAndKeysyms)
{
    EXPECT_EQ(CodePointOfKeysym(XK_Greek_alpha), U'\u03B1');
    EXPECT_EQ(CodePointOfKeysym(0x010003B1), U'\u03B1');
    EXPECT_EQ(CodePointOfKeysym(XK_EuroSign), U'\u20AC');
    EXPECT_EQ(CodePointOfKeysym(XK_BackSpace), U'\b');
    EXPECT_EQ(CodePointOfKeysym(XK_KP_1), 0u);
    EXPECT_EQ(CodePointOfKeysym(XK_dead_acute), 0u);
    EXPECT_EQ(CodePointOfKeysym(XK_Delete), 0u);
    EXPECT_EQ(KeysymForCodePoint(U'a'), TKeysym('a'));
    EXPECT_EQ(KeysymForCodePoint(U'\u03B1'), 0x010003B1u);
    EXPECT_EQ(KeysymForCodePoint(U'\n'), TKeysym(XK_Return));
    EXPECT_EQ(KeysymForCodePoint(0x7F), 0u);
    EXPECT_EQ(KeysymForCodePoint(0xD800), 0u);
    EXPECT_EQ(KeysymForCodePoint(0x110000), 0u);
    EXPECT_EQ(CasePairOf(0x010003B1).Upper, 0x01000391u);
    EXPECT_EQ(CasePairOf('Q').Lower, TKeysym('q'));
    EXPECT_EQ(CasePairOf('1').Upper, TKeysym('1'));
}

// The choice of spare: a half that carries the keysym, else a free first half, else a free
// second half, else the half that rested longest, after what is left of its rest.
struct TPlanCase {
    const char* Name;
    std::vector<TSpare> Spares;
    TKeysym Lower;
    int Halves;
    std::optional<TSparePlan> Expected;
};

const TSpareClock::time_point Now = TSpareClock::time_point {} + std::chrono::hours(1);

class TPlanTest : public testing::TestWithParam<TPlanCase> {};

TEST_P(TPlanTest, ChoosesTheSpare)
{
    const auto Fields = [](const std::optional<TSparePlan>& Plan) {
        using TFields = std::tuple<int, int, bool, TSpareClock::rep>;
        return Plan ? std::optional(TFields(Plan->Keycode, Plan->Half, Plan->Remap, Plan->Wait.count())) : std::nullopt;
    };
    const auto Plan = PlanSpare(GetParam().Spares, GetParam().Lower, GetParam().Halves, Now);
    EXPECT_EQ(Fields(Plan), Fields(GetParam().Expected));
}

using std::chrono::milliseconds;

INSTANTIATE_TEST_SUITE_P(Spares, TPlanTest,
    testing::Values(TPlanCase {"CarriedAlready", {{249, {{{'b', Now}, {'a', Now}}}}}, 'a', 2, TSparePlan {249, 1, false, {}}},
        TPlanCase {"FreeFirstHalfBeforeSecond", {{249, {{{'b', Now}, {}}}}, {248, {}}}, 'c', 2, TSparePlan {248, 0, true, {}}},
        TPlanCase {"SecondHalfOnceEveryFirstIsTaken", {{249, {{{'b', Now}, {}}}}, {248, {{{'d', Now}, {}}}}}, 'c', 2,
            TSparePlan {249, 1, true, {}}},
        TPlanCase {"NoSecondHalvesWithoutLevelThree", {{249, {{{'b', Now - milliseconds(100)}, {}}}}, {248, {{{'d', Now - milliseconds(300)}, {}}}}},
            'c', 1, TSparePlan {248, 0, true, {}}},
        TPlanCase {"WaitsForTheRestToEnd", {{249, {{{'b', Now - milliseconds(100)}, {}}}}}, 'c', 1,
            TSparePlan {249, 0, true, milliseconds(150)}},
        TPlanCase {"NoSparesAtAll", {}, 'c', 2, std::nullopt}),
    [](const testing::TestParamInfo<TPlanCase>& Info) { return std::string(Info.param.Name); });

// The modifiers a character gets on the spare it would go to: a letter pair shares a key, the
// second pair sits on levels 3 and 4, and a sign without cases needs nothing under Caps Lock.
struct TSparePlaceCase {
    const char* Name;
    int Half;
    TKeysym Keysym;
    unsigned Locked;
    TKeyPlace Expected;
};

class TSparePlaceTest : public testing::TestWithParam<TSparePlaceCase> {};

TEST_P(TSparePlaceTest, NeedsTheModifiersOfItsLevel)
{
    const auto Model = HandBuiltKeymap();
    const TSpare Spare {248, {}};
    const TSparePlan Plan {248, GetParam().Half, true, {}};
    EXPECT_EQ(PlaceOnSpare(Model, Spare, Plan, GetParam().Keysym, GetParam().Locked), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Levels, TSparePlaceTest,
    testing::Values(TSparePlaceCase {"Small", 0, 'q', 0, {248, 0, false, false}},
        TSparePlaceCase {"Capital", 0, 'Q', 0, {248, 0, true, false}},
        TSparePlaceCase {"SmallUnderCapsLock", 0, 'q', LockModifierBit, {248, 0, true, false}},
        TSparePlaceCase {"SecondPairSmall", 1, 0x010003B1, 0, {248, 0, false, true}},
        TSparePlaceCase {"SecondPairCapital", 1, 0x01000391, 0, {248, 0, true, true}},
        TSparePlaceCase {"NoCasesUnderCapsLock", 0, 0x010020AC, LockModifierBit, {248, 0, false, false}}),
    [](const testing::TestParamInfo<TSparePlaceCase>& Info) { return std::string(Info.param.Name); });

} // namespace
