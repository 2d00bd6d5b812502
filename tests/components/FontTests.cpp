// Fonts: sizes, the Qt font and colour they become, the parent-font rule, and display
// substitution for a face that is not installed.
#include "FontSubstitution.h"
#include "TPanel.h"
#include "TSpeedButton.h"

#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

namespace {

TEST(Font, PointsAndPixelsConvertAtNinetySixPixelsPerInch)
{
    TFont Font;
    Font.SetSize(15);
    EXPECT_EQ(Font.Height(), 20);
    Font.SetHeight(11);
    EXPECT_EQ(Font.Size(), 8);
    Font.SetHeight(21);
    EXPECT_EQ(Font.Size(), 16);
}

TEST(Font, BecomesAQtFontOfTheCharacterHeightAndStyles)
{
    TFont Font;
    Font.SetName("DejaVu Serif");
    Font.SetHeight(20);
    Font.SetStyle({ fsBold, fsUnderline });
    const QFont Qt = ToQFont(Font);
    EXPECT_EQ(Qt.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Qt.pixelSize(), 20);
    EXPECT_TRUE(Qt.bold());
    EXPECT_TRUE(Qt.underline());
    EXPECT_FALSE(Qt.italic());
    EXPECT_FALSE(Qt.strikeOut());
}

TEST(Color, FixedColoursAreBlueGreenRedFromTheHighByte)
{
    EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 0x80));
    EXPECT_EQ(ToQColor(clRed), QColor(0xFF, 0, 0));
    EXPECT_EQ(ToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clBtnFace), QApplication::palette().color(QPalette::Button));
}

TEST(ParentFont, AControlFollowsItsParentsFontUntilItsOwnIsChanged)
{
    TPanel Panel;
    TFont PanelFont;
    PanelFont.SetName("DejaVu Sans");
    PanelFont.SetHeight(18);
    PanelFont.SetColor(clMaroon);
    Panel.SetFont(PanelFont);
    auto* Inner = new TPanel(&Panel);
    auto* Button = new TSpeedButton(Inner);
    EXPECT_TRUE(Button->ParentFont());
    EXPECT_TRUE(Button->Font().SameAs(PanelFont)); // through the inner panel
    EXPECT_EQ(Button->palette().color(QPalette::ButtonText), QColor(0x80, 0, 0));

    Panel.Font().SetHeight(24);
    EXPECT_EQ(Inner->Font().Height(), 24);
    EXPECT_EQ(Button->Font().Height(), 24);
    EXPECT_EQ(Button->font().pixelSize(), 24);

    Button->Font().SetColor(clGreen); // its own font from now on
    EXPECT_FALSE(Button->ParentFont());
    Panel.Font().SetHeight(30);
    EXPECT_EQ(Button->Font().Height(), 24);
    EXPECT_EQ(Button->Font().Color(), clGreen);

    Button->SetParentFont(true); // takes the parent's font again, and follows it
    EXPECT_EQ(Button->Font().Height(), 30);
    EXPECT_EQ(Button->Font().Color(), clMaroon);
    Panel.Font().SetHeight(12);
    EXPECT_EQ(Button->Font().Height(), 12);
}

class FontSubstitutionTest : public testing::Test {
protected:
    void SetUp() override
    {
        Glyphs.fill(0);
        Glyphs['a'] = U'\u03B1';
        Glyphs['b'] = U'\u03B2';
        Glyphs['&'] = U'\u1F00';
        Glyphs[0xE9] = U'\u1F71';
        RegisterFontSubstitute("KeypadFaceNotInstalled", QStringLiteral("DejaVu Sans"), Glyphs);
    }
    void TearDown() override
    {
        UnregisterFontSubstitute("KeypadFaceNotInstalled");
        UnregisterFontSubstitute("DejaVu Serif");
    }
    std::array<char32_t, 256> Glyphs {};
};

TEST_F(FontSubstitutionTest, AMissingFaceIsDrawnThroughItsTable)
{
    EXPECT_TRUE(IsFontSubstituted("keypadfacenotinstalled"));
    EXPECT_EQ(DisplayFamily("KEYPADFACENOTINSTALLED"), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(DisplayText("KeypadFaceNotInstalled", "ab&c\xe9"), QString::fromUtf8("\u03B1\u03B2\u1F00c\u1F71"));
}

TEST_F(FontSubstitutionTest, InstalledAndUnregisteredFacesAreShownAsLatin1)
{
    RegisterFontSubstitute("DejaVu Serif", QStringLiteral("DejaVu Sans"), Glyphs);
    EXPECT_FALSE(IsFontSubstituted("DejaVu Serif")); // installed: the real font draws it
    EXPECT_EQ(DisplayText("DejaVu Serif", "ab\xe9"), QString::fromLatin1("ab\xe9"));
    EXPECT_EQ(DisplayFamily("DejaVu Serif"), QStringLiteral("DejaVu Serif"));
    EXPECT_FALSE(IsFontSubstituted("ms sans serif"));
    EXPECT_EQ(DisplayText("ms sans serif", "Tab"), QStringLiteral("Tab"));
}

TEST_F(FontSubstitutionTest, AButtonShowsItsCaptionThroughTheSubstituteOfItsOwnFace)
{
    TPanel Panel;
    TFont Keypad;
    Keypad.SetName("KeypadFaceNotInstalled");
    Panel.SetFont(Keypad);
    auto* Key = new TSpeedButton(&Panel);
    Key->SetCaption("a&");
    EXPECT_EQ(Key->text(), QString::fromUtf8("\u03B1\u1F00")); // no ampersand left to escape
    EXPECT_EQ(Key->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Key->Caption(), "a&"); // the caption itself stays the 8-bit code

    Key->Font().SetName("ms sans serif");
    EXPECT_EQ(Key->text(), QStringLiteral("a&&"));
}

} // namespace
