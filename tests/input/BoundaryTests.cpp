// The boundary between the key-string sender and the input backend: what the sender's
// Windows-named calls become in characters and named keys, on the recording backend.
#include "Input.h"
#include "RecordingInputBackend.h"
#include "Sendkeys.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class TBoundaryTest : public testing::Test {
protected:
    void SetUp() override
    {
        auto Fresh = std::make_unique<TRecordingInputBackend>();
        Backend = Fresh.get();
        Previous = SetInputBackend(std::move(Fresh));
    }
    void TearDown() override { SetInputBackend(std::move(Previous)); }

    // The key calls, without what the backend answered to them.
    std::vector<TBackendCall> Felt() const
    {
        auto Calls = Backend->KeyCalls();
        for (auto& Call : Calls)
            Call.Result = 0;
        return Calls;
    }

    TRecordingInputBackend* Backend = nullptr;

private:
    std::unique_ptr<TInputBackend> Previous;
};

using TCalls = std::vector<TBackendCall>;

TCalls Named(TNamedKey Key) { return {SendKeyCall(Key, true), SendKeyCall(Key, false)}; }
TCalls Character(char32_t Code) { return {SendCharacterKeyCall(Code, true), SendCharacterKeyCall(Code, false)}; }
TCalls Framed(TNamedKey Modifier, const TCalls& Inner)
{
    TCalls Calls {SendKeyCall(Modifier, true)};
    Calls.insert(Calls.end(), Inner.begin(), Inner.end());
    Calls.push_back(SendKeyCall(Modifier, false));
    return Calls;
}

struct TStringCase {
    const char* Name;
    std::string Keys;
    TCalls Expected;
    std::vector<std::pair<char32_t, std::optional<TModifiers>>> Layout {};
};

class TKeyStringTest : public TBoundaryTest, public testing::WithParamInterface<TStringCase> {};

TEST_P(TKeyStringTest, BecomesTheseBackendCalls)
{
    for (const auto& [Code, Modifiers] : GetParam().Layout)
        Backend->SetModifiers(Code, Modifiers);
    SendKeyString(GetParam().Keys);
    EXPECT_EQ(Felt(), GetParam().Expected);
}

// Raw codes below 110 are virtual keys: named keys, or the key that carries the US key's
// character. From 110 on a code is a character, framed by what the layout says it needs.
INSTANTIATE_TEST_SUITE_P(Codes, TKeyStringTest,
    testing::Values(TStringCase {"Tab", "\t", Named(nkTab)}, TStringCase {"Backspace", "\b", Named(nkBackSpace)},
        TStringCase {"VirtualKeyAIsTheKeyOfSmallA", "A", Character(U'a')},
        TStringCase {"VirtualKeyOneIsTheKeyOfOne", "1", Character(U'1')},
        TStringCase {"SmallAIsKeypadOne", "a", Named(nkKeypad1)},
        TStringCase {"F1AndHome", "\xE4\xF0", {SendKeyCall(nkF1, true), SendKeyCall(nkF1, false), SendKeyCall(nkHome, true), SendKeyCall(nkHome, false)}},
        TStringCase {"TildeWithShift", "~", Framed(nkShift, Character(U'~'))},
        TStringCase {"AltGrCharacter", "\xA7", Framed(nkAltGr, Character(U'\u00A7')), {{U'\u00A7', mfAltGr}}},
        TStringCase {"EuroOfCodePage1252", "\x80", Character(U'\u20AC'), {{U'\u20AC', 0}}},
        TStringCase {"ACharacterNoKeyTypesSendsOnlyTheFrame", "\xC9", {SendKeyCall(nkShift, true), SendKeyCall(nkShift, false)},
            {{U'\u00C9', std::nullopt}}},
        TStringCase {"HeldControl", "\xFCv\xFD", {SendKeyCall(nkControl, true), SendCharacterKeyCall(U'v', true),
                                                    SendCharacterKeyCall(U'v', false), SendKeyCall(nkControl, false)}},
        TStringCase {"HeldAltAndShift", "\xFE\xFA\xFB\xFF", {SendKeyCall(nkAlt, true), SendKeyCall(nkShift, true),
                                                              SendKeyCall(nkShift, false), SendKeyCall(nkAlt, false)}}),
    [](const testing::TestParamInfo<TStringCase>& Info) { return std::string(Info.param.Name); });

// Characters that no US key types are lent virtual keys of their own: each press goes to the
// character it was lent for, also when several are in one string.
TEST_F(TBoundaryTest, LentVirtualKeysCarryTheirOwnCharacters)
{
    Backend->SetModifiers(U'\u00C9', 0);
    Backend->SetModifiers(U'\u00C8', mfShift);
    SendKeyString("\xC9\xC8\xC9");
    TCalls Expected = Character(U'\u00C9');
    for (const auto& Call : Framed(nkShift, Character(U'\u00C8')))
        Expected.push_back(Call);
    for (const auto& Call : Character(U'\u00C9'))
        Expected.push_back(Call);
    EXPECT_EQ(Felt(), Expected);
}

TEST_F(TBoundaryTest, WindowCallsByTitle)
{
    const TWindowId Editor = Backend->AddWindow("caf\xC3\xA9 notes", true);
    EXPECT_EQ(FindWindowA(nullptr, "caf\xE9 notes"), Editor); // code page 1252 in, UTF-8 out
    EXPECT_TRUE(IsIconic(Editor));
    EXPECT_TRUE(ShowWindow(Editor, SW_RESTORE));
    EXPECT_FALSE(Backend->IsMinimizedNow(Editor));
    EXPECT_TRUE(ShowWindow(Editor, 6));
    EXPECT_TRUE(Backend->IsMinimizedNow(Editor));
    EXPECT_TRUE(BringWindowToTop(Editor));
    EXPECT_FALSE(BringWindowToTop(0));
    EXPECT_EQ(FindWindowA(nullptr, "caf"), 0u);
    Backend->SetTickCount(4242);
    EXPECT_EQ(GetTickCount(), 4242u);
}

TEST_F(TBoundaryTest, ScanCodesAreThoseOfAUsPcKeyboard)
{
    EXPECT_EQ(MapVirtualKeyA(0x10, 0), 42u);
    EXPECT_EQ(MapVirtualKeyA('A', 0), 30u);
    EXPECT_EQ(MapVirtualKeyA(0x70, 0), 59u);
    EXPECT_EQ(MapVirtualKeyA(30, 1), UINT('A'));
    EXPECT_EQ(MapVirtualKeyA(0x07, 0), 0u);
}

} // namespace
