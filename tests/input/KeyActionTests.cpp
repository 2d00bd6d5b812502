// Key actions on the backend: how modifiers frame a character's key, and what running a list
// of actions does, on the recording backend.
#include "RecordingInputBackend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TFrameCase {
    TModifiers Needed;
    TModifiers Held;
    const char* Expected;
};

// Modifiers go down in one order and up in the reverse; one already held is not pressed
// again, and one held but not needed is lifted around the key.
TEST(AppendFramedCharacter, FramesTheKeyByWhatItNeedsAndWhatIsHeld)
{
    const TFrameCase Cases[] = {
        {0, 0, "+a -a"},
        {mfShift, 0, "+Shift +a -a -Shift"},
        {mfShift | mfAltGr, 0, "+Shift +AltGr +a -a -AltGr -Shift"},
        {mfControl | mfAlt, 0, "+Control +Alt +a -a -Alt -Control"},
        {0, mfShift, "-Shift +a -a +Shift"},
        {mfShift, mfShift, "+a -a"},
        {mfAltGr, mfShift | mfControl, "-Shift -Control +AltGr +a -a -AltGr +Control +Shift"},
    };
    for (const TFrameCase& Case : Cases) {
        TKeyActions Actions;
        AppendFramedCharacter(Actions, U'a', Case.Needed, Case.Held);
        EXPECT_EQ(TextOf(Actions), Case.Expected) << int(Case.Needed) << " held " << int(Case.Held);
    }
}

// A backend with keys types a character whole through the same frame, around the modifiers
// that earlier actions left held: a Shift held by a key string does not make "a" a capital.
TEST(RunKeyActions, CharactersTypedWholeAreFramedAroundTheHeldModifiers)
{
    TRecordingInputBackend Backend;
    Backend.SetFramesCharacters(true);
    Backend.SetModifiers(U'\u03B1', 0);
    EXPECT_TRUE(Backend.Run({PressKey(nkShift)}));
    EXPECT_EQ(Backend.ModifiersHeld(), mfShift);
    EXPECT_TRUE(Backend.Run({TypeCharacterAction(U'a'), TypeCharacterAction(U'A'), TypeCharacterAction(U'\u03B1')}));
    EXPECT_EQ(Backend.FeltText(), "+Shift -Shift +a -a +Shift +A -A -Shift +U+3b1 -U+3b1 +Shift");
    EXPECT_TRUE(Backend.Run({ReleaseKey(nkShift), TypeCharacterAction(U'A')}));
    EXPECT_EQ(Backend.ModifiersHeld(), 0);
}

// Every action runs even when one fails; each character that could not be typed is told.
TEST(RunKeyActions, ReportsEachCharacterThatCouldNotBeTypedAndGoesOn)
{
    TRecordingInputBackend Backend;
    Backend.SetModifiers(U'\u0436', std::nullopt);
    std::vector<char32_t> Untyped;
    EXPECT_FALSE(Backend.Run({TypeCharacterAction(U'\u0436'), PressCharacterKey(U'\u0436'), ReleaseCharacterKey(U'\u0436'),
                                 TypeCharacterAction(U'b')},
        [&Untyped](char32_t Character) { Untyped.push_back(Character); }));
    EXPECT_EQ(Untyped, std::vector<char32_t>({U'\u0436', U'\u0436'}));
    EXPECT_EQ(Backend.Felt().back(), TypeCharacterAction(U'b'));
    EXPECT_TRUE(Backend.Run({TypeCharacterAction(U'b')}));
}

} // namespace
