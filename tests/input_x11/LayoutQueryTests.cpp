// What VkKeyScanA and MapVirtualKeyA answer on a real server, for the worked layout examples:
// the virtual key and modifiers that the sender frames a character with, and the scan codes.
#include "InputX11TestSupport.h"

#include "Input.h"

namespace {

struct TScanCase {
    const char* Layout;
    char Character;
    int Expected;
};

class TVkKeyScanTest : public TInputX11Test, public testing::WithParamInterface<TScanCase> {};

TEST_P(TVkKeyScanTest, AnswersKeyAndModifiersOfTheCurrentLayout)
{
    ASSERT_TRUE(SetLayout(GetParam().Layout));
    EXPECT_EQ(VkKeyScanA(GetParam().Character), GetParam().Expected)
        << GetParam().Layout << " '" << GetParam().Character << "'";
}

// High byte: 1 Shift, 6 AltGr (Control and Alt), 7 Shift and AltGr.
INSTANTIATE_TEST_SUITE_P(Examples, TVkKeyScanTest,
    testing::Values(TScanCase {"us", 'a', 0x041}, TScanCase {"us", 'A', 0x141}, TScanCase {"us", '@', 0x132},
        TScanCase {"us", '~', 0x1C0}, TScanCase {"us", ' ', 0x020},
        TScanCase {"de", 'z', 0x05A}, TScanCase {"de", 'Y', 0x159}, TScanCase {"de", '@', 0x651},
        TScanCase {"de", '~', 0x6DD}, TScanCase {"de", '\\', 0x6BD}, TScanCase {"de", '\xFC', 0x0DB},
        TScanCase {"fr", 'a', 0x041}, TScanCase {"fr", '1', 0x131}, TScanCase {"fr", '#', 0x633},
        TScanCase {"us:dvorak", 'k', 0x04B}, TScanCase {"us:dvorak", 'K', 0x14B}));

TEST_F(TInputX11Test, ScanCodesAreThoseOfAPcKeyboard)
{
    ASSERT_TRUE(SetLayout("us"));
    EXPECT_EQ(MapVirtualKeyA(0x10, 0), 42u);   // Shift
    EXPECT_EQ(MapVirtualKeyA(0x11, 0), 29u);   // Control
    EXPECT_EQ(MapVirtualKeyA(0x12, 0), 56u);   // Alt
    EXPECT_EQ(MapVirtualKeyA(0x09, 0), 15u);   // Tab
    EXPECT_EQ(MapVirtualKeyA(0x0D, 0), 28u);   // Enter
    EXPECT_EQ(MapVirtualKeyA('A', 0), 30u);
    EXPECT_EQ(MapVirtualKeyA(0x70, 0), 59u);   // F1
    EXPECT_EQ(MapVirtualKeyA(30, 1), UINT('A'));
    ASSERT_TRUE(SetLayout("de"));
    EXPECT_EQ(MapVirtualKeyA('Z', 0), 21u);    // Z sits where Y is on a US keyboard
}

TEST_F(TInputX11Test, AGreekLayoutStillTypesLatinLettersAndDigits)
{
    ASSERT_TRUE(SetLayout("gr"));
    const SHORT Small = VkKeyScanA('q');
    ASSERT_NE(Small, -1);
    EXPECT_EQ(Small & 0x100, 0);
    // Both cases share the spare keycode, as on a letter key: the capital adds Shift.
    const SHORT Capital = VkKeyScanA('Q');
    EXPECT_EQ(Capital & 0xFF00, (Small & 0xFF00) | 0x100);
    EXPECT_EQ(MapVirtualKeyA(Capital & 0xFF, 0), MapVirtualKeyA(Small & 0xFF, 0));
    EXPECT_EQ(VkKeyScanA('1'), 0x031);
}

} // namespace
