// What the backend answers about a character on a real server, for the worked layout
// examples: the modifiers that type it. A question never changes the server's keymap.
#include "InputX11TestSupport.h"

#include "InputBackend.h"

#include <optional>

namespace {

struct TModifiersCase {
    const char* Layout;
    char32_t Character;
    std::optional<TModifiers> Expected;
};

void PrintTo(const TModifiersCase& Case, std::ostream* Stream)
{
    *Stream << Case.Layout << " U+" << std::hex << std::uint32_t(Case.Character);
}

class TModifiersForTest : public TInputX11Test, public testing::WithParamInterface<TModifiersCase> {};

TEST_P(TModifiersForTest, AnswersTheModifiersOfTheCurrentLayout)
{
    ASSERT_TRUE(SetLayout(GetParam().Layout));
    EXPECT_EQ(CurrentInputBackend()->ModifiersFor(GetParam().Character), GetParam().Expected);
}

// A letter that no key of the layout types (q on gr) would go onto a spare letter key: Shift
// for its capital, as on any letter key. Characters no key can type have no answer.
INSTANTIATE_TEST_SUITE_P(Examples, TModifiersForTest,
    testing::Values(TModifiersCase {"us", U'a', 0}, TModifiersCase {"us", U'A', mfShift}, TModifiersCase {"us", U'@', mfShift},
        TModifiersCase {"us", U'~', mfShift}, TModifiersCase {"us", U' ', 0},
        TModifiersCase {"de", U'z', 0}, TModifiersCase {"de", U'Y', mfShift}, TModifiersCase {"de", U'@', mfAltGr},
        TModifiersCase {"de", U'~', mfAltGr}, TModifiersCase {"de", U'\\', mfAltGr}, TModifiersCase {"de", U'\u00FC', 0},
        TModifiersCase {"fr", U'a', 0}, TModifiersCase {"fr", U'1', mfShift}, TModifiersCase {"fr", U'#', mfAltGr},
        TModifiersCase {"us:dvorak", U'k', 0}, TModifiersCase {"us:dvorak", U'K', mfShift},
        TModifiersCase {"gr", U'\u03B1', 0}, TModifiersCase {"gr", U'\u0391', mfShift},
        TModifiersCase {"gr", U'q', 0}, TModifiersCase {"gr", U'Q', mfShift},
        TModifiersCase {"us", U'\u0001', std::nullopt}, TModifiersCase {"us", U'\u007F', std::nullopt}));

TEST_F(TInputX11Test, AQuestionChangesNothingOnTheServer)
{
    ASSERT_TRUE(SetLayout("gr"));
    const std::string Before = KeymapDump();
    for (const char32_t Character : {U'q', U'Q', U'\u0436', U'\u00E6'})
        EXPECT_TRUE(CurrentInputBackend()->ModifiersFor(Character).has_value());
    EXPECT_EQ(KeymapDump(), Before);
}

} // namespace
