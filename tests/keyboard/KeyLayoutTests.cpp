// Key geometry: the worked layouts to the pixel on live keypads, and the arithmetic's invariants
// over many sizes.
#include "KeyLayout.h"
#include "KeyboardTestSupport.h"

#include <QRect>

#include <utility>

namespace {

using TExpectedKey = std::pair<TKeyAt, TKeyBounds>;

struct TLayoutExample {
    const char* Name;
    TKbMode Mode;
    int Width;
    int Height;
    int BorderWidth;
    TPanel::TBevelCut Bevels; // both the inner and the outer bevel
    int BevelWidth;
    std::vector<TExpectedKey> Keys;
    TOptions Options {}; // hidden and disabled keys keep their place
};

const std::vector<TLayoutExample>& LayoutExamples()
{
    static const std::vector<TLayoutExample> Examples {
        { "AlphaNumeric587x145", kbmAlphaNumeric, 587, 145, 1, TPanel::bvNone, 1,
            { { Slot(TabSlot), { 1, 29, 60, 28 } }, { Slot(CapsSlot), { 1, 57, 80, 28 } },
                { Slot(LeftShiftSlot), { 1, 85, 100, 28 } }, { Slot(RightShiftSlot), { 501, 85, 80, 28 } },
                { Slot(EnterSlot), { 521, 57, 60, 28 } }, { Slot(BackspaceSlot), { 481, 1, 60, 28 } },
                { Slot(SpaceSlot), { 121, 113, 340, 28 } }, { Grid(2, 1), { 1, 1, 40, 28 } },
                { Grid(2, 12), { 441, 1, 40, 28 } }, { Grid(3, 1), { 61, 29, 40, 28 } },
                { Grid(3, 12), { 501, 29, 40, 28 } }, { Grid(4, 1), { 81, 57, 40, 28 } },
                { Grid(4, 11), { 481, 57, 40, 28 } }, { Grid(5, 1), { 101, 85, 40, 28 } },
                { Grid(5, 10), { 461, 85, 40, 28 } } } },
        { "Function587x145", kbmAlphaNumericFunction, 587, 145, 1, TPanel::bvNone, 1,
            { { Grid(1, 1), { 1, 1, 40, 23 } }, { Grid(1, 2), { 61, 1, 40, 23 } }, { Grid(1, 3), { 101, 1, 40, 23 } },
                { Grid(1, 13), { 501, 1, 40, 23 } }, { Grid(2, 1), { 1, 28, 40, 23 } },
                { Slot(BackspaceSlot), { 481, 28, 60, 23 } }, { Slot(TabSlot), { 1, 51, 60, 23 } },
                { Slot(EnterSlot), { 521, 74, 60, 23 } }, { Slot(LeftShiftSlot), { 1, 97, 100, 23 } },
                { Slot(RightShiftSlot), { 501, 97, 80, 23 } }, { Slot(SpaceSlot), { 121, 120, 340, 23 } } } },
        { "AlphaNumeric889x145", kbmAlphaNumeric, 889, 145, 1, TPanel::bvNone, 1,
            { { Slot(TabSlot), { 1, 29, 92, 28 } }, { Slot(LeftShiftSlot), { 1, 85, 152, 28 } },
                { Slot(RightShiftSlot), { 763, 85, 122, 28 } }, { Slot(EnterSlot), { 794, 57, 92, 28 } },
                { Slot(BackspaceSlot), { 754, 1, 92, 28 } }, { Slot(SpaceSlot), { 184, 113, 518, 28 } },
                { Grid(2, 12), { 672, 1, 61, 28 } }, { Grid(3, 1), { 93, 29, 61, 28 } },
                { Grid(5, 1), { 153, 85, 61, 28 } } } },
        { "Bevelled587x145", kbmAlphaNumeric, 587, 145, 1, TPanel::bvRaised, 2,
            { { Grid(2, 1), { 5, 5, 39, 27 } }, { Slot(BackspaceSlot), { 473, 5, 58, 27 } },
                { Grid(2, 12), { 434, 5, 39, 27 } } } },
        { "Calculator162x202", kbmCalculator, 162, 202, 1, TPanel::bvNone, 1,
            { { Slot(BackspaceSlot), { 81, 1, 80, 40 } }, { Slot(PlusSlot), { 121, 41, 40, 80 } },
                { Slot(EnterSlot), { 81, 161, 80, 40 } }, { Grid(1, 1), { 1, 1, 40, 40 } },
                { Grid(1, 2), { 41, 1, 40, 40 } }, { Grid(4, 4), { 121, 121, 40, 40 } },
                { Grid(5, 2), { 41, 161, 40, 40 } } } },
        { "Numeric122x162", kbmNumeric, 122, 162, 1, TPanel::bvNone, 1,
            { { Grid(1, 3), { 81, 1, 40, 40 } }, { Grid(4, 2), { 41, 121, 40, 40 } },
                { Slot(BackspaceSlot), { 81, 121, 40, 40 } } } },
        { "HiddenAndDisabled587x145", kbmAlphaNumeric, 587, 145, 1, TPanel::bvNone, 1,
            { { Slot(SpaceSlot), { 121, 113, 340, 28 } }, { Slot(TabSlot), { 1, 29, 60, 28 } },
                { Grid(3, 1), { 61, 29, 40, 28 } } },
            { HideSpace, DisableTab } },
        { "OutsideTheEnumerationAsAlphaNumeric587x145", static_cast<TKbMode>(7), 587, 145, 1, TPanel::bvNone, 1,
            { { Slot(TabSlot), { 1, 29, 60, 28 } }, { Slot(SpaceSlot), { 121, 113, 340, 28 } },
                { Grid(5, 10), { 461, 85, 40, 28 } } } },
        // Too small a control (usable 14 by 2) gives empty keys, without clamping.
        { "TooSmall16x4", kbmAlphaNumeric, 16, 4, 1, TPanel::bvNone, 1,
            { { Grid(2, 1), { 1, 1, 0, 0 } }, { Slot(BackspaceSlot), { 1, 1, 0, 0 } } } },
    };
    return Examples;
}

void PrintTo(const TLayoutExample& Example, std::ostream* Out) { *Out << Example.Name; }

class LayoutExampleTest : public testing::TestWithParam<TLayoutExample> { };

TEST_P(LayoutExampleTest, KeysLieWhereTheWorkedLayoutPutsThem)
{
    const TLayoutExample& Example = GetParam();
    TKeyboard Keyboard;
    Keyboard.SetBorderWidth(Example.BorderWidth);
    Keyboard.SetBevelInner(Example.Bevels);
    Keyboard.SetBevelOuter(Example.Bevels);
    Keyboard.SetBevelWidth(Example.BevelWidth);
    Keyboard.SetKbMode(Example.Mode);
    Keyboard.SetOptions(Example.Options);
    Keyboard.SetBounds(0, 0, Example.Width, Example.Height);
    for (const auto& [At, Bounds] : Example.Keys) {
        SCOPED_TRACE(testing::Message() << "row " << At.Row << ", column or slot " << At.ColumnOrSlot);
        TSpeedButton* Key = KeyOf(Keyboard, At);
        ASSERT_NE(Key, nullptr);
        EXPECT_EQ(Key->geometry(), QRect(Bounds.Left, Bounds.Top, Bounds.Width, Bounds.Height));
    }
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, LayoutExampleTest, testing::ValuesIn(LayoutExamples()),
    [](const testing::TestParamInfo<TLayoutExample>& Info) { return std::string(Info.param.Name); });

TEST(KeyLayout, ModeChangeAndLaterResizeBothLayTheKeysOut)
{
    TKeyboard Keyboard;
    Keyboard.SetBorderWidth(1);
    Keyboard.SetBounds(0, 0, 162, 202);
    Keyboard.SetKbMode(kbmCalculator); // the builder lays out at the current size
    EXPECT_EQ(Keyboard.SpecialKeys(PlusSlot)->geometry(), QRect(121, 41, 40, 80));
    Keyboard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Keyboard));
    Keyboard.resize(122, 162);
    EXPECT_EQ(Keyboard.SpecialKeys(PlusSlot)->geometry(), QRect(91, 33, 30, 64));
    Keyboard.SetKbMode(kbmNumeric);
    EXPECT_EQ(Keyboard.SpecialKeys(BackspaceSlot)->geometry(), QRect(81, 121, 40, 40));
}

TEST(KeyLayout, BevelAndBorderChangesWaitForTheNextResize)
{
    TKeyboard Keyboard;
    Keyboard.SetBounds(0, 0, 587, 145);
    Keyboard.SetBorderWidth(1);
    EXPECT_EQ(Keyboard.Keys(2, 1)->geometry(), QRect(0, 0, 40, 29)); // laid out with border 0
    Keyboard.SetBounds(0, 0, 588, 145);
    EXPECT_EQ(Keyboard.Keys(2, 1)->geometry(), QRect(1, 1, 40, 28));
}

TEST(KeyLayout, KeysCoverTheTruncatedAreaAndLeaveTheRestEmpty)
{
    TKeyboard Keyboard;
    Keyboard.SetBorderWidth(1);
    Keyboard.SetBounds(0, 0, 587, 145);
    QRect Covered;
    for (TSpeedButton* Key : AllKeys(Keyboard))
        Covered |= Key->geometry();
    EXPECT_EQ(Covered, QRect(1, 1, 580, 140)); // of the usable 585 by 143 from (1, 1)
}

TEST(KeyLayout, NarrowKeysLeaveBackspaceWithinReach)
{
    TKeyboard Keyboard;
    Keyboard.SetBorderWidth(1);
    Keyboard.SetBevelInner(TPanel::bvRaised);
    Keyboard.SetBevelOuter(TPanel::bvRaised);
    Keyboard.SetBevelWidth(2);
    Keyboard.SetBounds(0, 0, 587, 145);
    // Key width 39: column 12 of row 2 ends at 472, Backspace takes the next pixel column.
    EXPECT_EQ(Keyboard.childAt(472, 10), Keyboard.Keys(2, 12));
    EXPECT_EQ(Keyboard.childAt(473, 10), Keyboard.SpecialKeys(BackspaceSlot));
    // A keypad as narrow as on a 320-pixel screen: key width 13, Backspace whole after row 2.
    Keyboard.SetBounds(0, 0, 193, 145);
    const QRect Backspace = Keyboard.SpecialKeys(BackspaceSlot)->geometry();
    for (const QPoint Point : { Backspace.topLeft(), Backspace.center(), Backspace.bottomRight() })
        EXPECT_EQ(Keyboard.childAt(Point), Keyboard.SpecialKeys(BackspaceSlot)) << Point.x() << "," << Point.y();
}

// ---- The arithmetic on its own ----

TEST(KeyArithmetic, HalvesRoundToTheEvenNeighbour)
{
    const std::vector<std::pair<double, int>> Cases { { 61.5, 62 }, { 152.5, 152 }, { 762.5, 762 }, { 518.5, 518 },
        { 91.5, 92 }, { 0.5, 0 }, { 1.5, 2 }, { 2.4, 2 }, { 2.6, 3 }, { -0.5, 0 }, { -1.5, -2 }, { 40.0, 40 } };
    for (const auto& [Value, Expected] : Cases)
        EXPECT_EQ(RoundHalfEven(Value), Expected) << Value;
}

// 14.5, 6.2 and 1.2 have no exact binary form; a quotient or product that is a whole number
// still comes out whole, at every size.
TEST(KeyArithmetic, InexactConstantsGiveTheExactQuotientsAndProducts)
{
    for (int Usable = 0; Usable <= 20000; ++Usable) {
        const TKeyMetrics M = ComputeKeyMetrics(kbmAlphaNumericFunction, { Usable + 2, Usable + 2, 1, 0 });
        ASSERT_EQ(M.KeyWidth, Usable * 2 / 29) << Usable;
        ASSERT_EQ(M.KeyHeight, Usable * 10 / 62) << Usable;
        ASSERT_EQ(M.FunctionRowOffset, M.KeyHeight * 6 / 5) << Usable;
    }
}

// At every width the rows join their end keys, and Backspace lies a fixed 40 pixels back from a
// key width of 40 (flush at 40, a gap above), below it flush after row 2's last key, never over it.
TEST(KeyArithmetic, RowsJoinTheirEndKeysAndBackspaceStaysWithinReachAtEveryWidth)
{
    const auto Right = [](const TKeyBounds& B) { return B.Left + B.Width; };
    for (int Width = 60; Width <= 3000; ++Width) {
        const TKeyMetrics M = ComputeKeyMetrics(kbmAlphaNumeric, { Width, 145, 1, 0 });
        SCOPED_TRACE(Width);
        ASSERT_EQ(AlphaNumericGridKeyBounds(M, 3, 1).Left, Right(AlphaNumericSpecialKeyBounds(M, TabSlot)));
        ASSERT_EQ(AlphaNumericGridKeyBounds(M, 5, 1).Left, Right(AlphaNumericSpecialKeyBounds(M, LeftShiftSlot)));
        ASSERT_EQ(AlphaNumericSpecialKeyBounds(M, RightShiftSlot).Left, Right(AlphaNumericGridKeyBounds(M, 5, 10)));
        ASSERT_EQ(AlphaNumericSpecialKeyBounds(M, EnterSlot).Left, Right(AlphaNumericGridKeyBounds(M, 4, 11)));
        ASSERT_EQ(AlphaNumericGridKeyBounds(M, 4, 1).Left, Right(AlphaNumericSpecialKeyBounds(M, CapsSlot)));
        const int Gap
            = AlphaNumericSpecialKeyBounds(M, BackspaceSlot).Left - Right(AlphaNumericGridKeyBounds(M, 2, 12));
        ASSERT_EQ(Gap, M.KeyWidth < 40 ? 0 : M.KeyWidth - 40);
    }
}

} // namespace
