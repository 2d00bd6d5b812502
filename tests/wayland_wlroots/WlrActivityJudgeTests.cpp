// Which moments of seat input were KIVO's own, and that later moments wait their turn.
#include "WlrSeatActivity.h"

#include <gtest/gtest.h>

namespace {

TEST(WlrActivityJudge, AMomentIsOwnOnlyShortlyAfterOwnInput)
{
    const struct {
        std::uint32_t Moment;
        bool Foreign;
    } Cases[] = {
        { 10000, false }, { 10001, false }, { 10100, false }, // at and up to 100 ms after
        { 9990, false }, // a pointer event's time may lie a little after the report of it
        { 9985, true }, { 10101, true }, { 20000, true },
        { 0xFFFFFFF0u + 20, false }, // across the wrap of the millisecond clock
    };
    for (const auto& Case : Cases) {
        TWlrActivityJudge Judge;
        Judge.Own(10000);
        Judge.Own(0xFFFFFFF0u);
        Judge.Add({ Case.Moment });
        EXPECT_EQ(Judge.AnyForeignUpTo(Case.Moment), Case.Foreign) << Case.Moment;
        // Judged once: nothing is left.
        EXPECT_FALSE(Judge.AnyForeignUpTo(Case.Moment + 1000)) << Case.Moment;
    }
}

TEST(WlrActivityJudge, MomentsAfterTheLimitWaitForTheirOwnInput)
{
    TWlrActivityJudge Judge;
    Judge.Own(5000);
    Judge.Add({ 5001, 6000 });
    // 6000 is not judged yet: KIVO may not have handled the pointer event of that time.
    EXPECT_FALSE(Judge.AnyForeignUpTo(5010));
    Judge.Own(5999);
    EXPECT_FALSE(Judge.AnyForeignUpTo(6010));
    EXPECT_EQ(Judge.LatestOwn(), 5999u);
    // Without own input the moment is foreign.
    Judge.Add({ 9000 });
    EXPECT_TRUE(Judge.AnyForeignUpTo(9000));
}

TEST(WlrActivityJudge, OnlyTheLatestOwnTimesAreKept)
{
    TWlrActivityJudge Judge;
    Judge.Own(1000);
    for (std::uint32_t Time = 100000; Time < 100000 + 600; ++Time)
        Judge.Own(Time);
    Judge.Add({ 1001 });
    EXPECT_TRUE(Judge.AnyForeignUpTo(200000));
}

} // namespace
