#include "UserText.h"

#include <gtest/gtest.h>

// Details come from outside (display names, a server's error text): whatever they hold is
// put in as it stands, and a wording's markers without a detail stay visible.
TEST(UserText, DetailsFillTheirMarkersInOnePass)
{
    EXPECT_EQ(FilledIn("X error in %1: %2 (request %3)", { "watching", "Bad%2Access", "1.2" }),
        "X error in watching: Bad%2Access (request 1.2)");
    EXPECT_EQ(FilledIn("%2 before %1, 100% and %", { "a", "b" }), "b before a, 100% and %");
    EXPECT_EQ(FilledIn("display %1 and %2", { ":1" }), "display :1 and %2");
    EXPECT_EQ((TUserText { "the X server %1", { ":0" } }).English(), "the X server :0");
    EXPECT_EQ(TUserText {}.English(), "");
}
