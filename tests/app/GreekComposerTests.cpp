// The composition engine on its own: letters and marks in, what reaches a document out. The
// document is simulated twice, once where a BackSpace erases one code point (a terminal, a Qt
// editor) and once where it erases the whole letter with its combining marks (GTK): KIVO must
// leave the same text in both.
#include "GreekComposer.h"

#include <QChar>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

QString Q(const std::u32string& Text) { return QString::fromUcs4(Text.data(), static_cast<qsizetype>(Text.size())); }

std::u32string Normalized(const std::u32string& Text, QString::NormalizationForm Form)
{
    const QList<uint> Codes = Q(Text).normalized(Form).toUcs4();
    return std::u32string(Codes.begin(), Codes.end());
}

struct TDocuments {
    std::u32string ByCodePoint;
    std::u32string ByCluster;
    int BackSpaces = 0;

    void Apply(const TComposerActions& Actions)
    {
        for (const TComposerAction& Action : Actions) {
            if (Action.Kind == cakType) {
                ByCodePoint += Action.Text;
                ByCluster += Action.Text;
                continue;
            }
            ++BackSpaces;
            if (!ByCodePoint.empty())
                ByCodePoint.pop_back();
            while (!ByCluster.empty() && QChar::isMark(ByCluster.back()))
                ByCluster.pop_back();
            if (!ByCluster.empty())
                ByCluster.pop_back();
        }
    }
};

// The marks of the keypad and the extra keys, one per combining character, and two of the
// toolbar's spacing glyphs that click two marks at once.
TGreekMarks MarkOf(char32_t Character)
{
    switch (Character) {
    case U'\u0313': return gmSmoothBreathing;
    case U'\u0314': return gmRoughBreathing;
    case U'\u0301': return gmAcute;
    case U'\u0300': return gmGrave;
    case U'\u0342': return gmCircumflex;
    case U'\u0345': return gmIotaSubscript;
    case U'\u0308': return gmDiaeresis;
    case U'\u0304': return gmMacron;
    case U'\u0306': return gmBreve;
    case U'\u0323': return gmDotBelow;
    case U'\u1FDE': return gmRoughBreathing | gmAcute;
    case U'\u1FDF': return gmRoughBreathing | gmCircumflex;
    default: return 0;
    }
}

// Clicks as a script: a mark clicks its marks, \b is the keypad's Backspace, \x01 input
// elsewhere, anything else a key that types it. Every change of the waiting marks is announced.
TDocuments RunScript(TGreekComposer& Composer, const std::u32string& Script)
{
    int Announced = 0;
    Composer.OnWaitingChanged = [&Announced] { ++Announced; };
    TDocuments Documents;
    for (const char32_t Step : Script) {
        const std::vector<TGreekMarks> Before = Composer.WaitingMarks();
        const int AnnouncedBefore = Announced;
        if (Step == U'\b')
            Documents.Apply(Composer.Backspace());
        else if (Step == U'\x01')
            Composer.Forget();
        else
            Documents.Apply(MarkOf(Step) ? Composer.ApplyMarks(MarkOf(Step)) : Composer.TypeCharacter(Step));
        EXPECT_EQ(Announced - AnnouncedBefore, Composer.WaitingMarks() != Before ? 1 : 0);
    }
    Composer.OnWaitingChanged = nullptr;
    return Documents;
}

} // namespace

TEST(GreekComposer, EveryPrecomposedLetterComesFromItsLetterAndMarksInAnyOrder)
{
    int Characters = 0;
    int OrdersWithAHole = 0;
    for (char32_t Code = 0x0386; Code <= 0x1FFF; Code = Code == 0x03CE ? 0x1F00 : Code + 1) {
        const std::u32string Parts = Normalized(std::u32string(1, Code), QString::NormalizationForm_D);
        if (Parts.size() < 2 || QChar::script(Parts[0]) != QChar::Script_Greek || !QChar::isLetter(Parts[0])
            || !std::all_of(Parts.begin() + 1, Parts.end(), [](char32_t Part) { return MarkOf(Part) != 0; }))
            continue;
        ++Characters;
        const std::u32string Expected = Normalized(std::u32string(1, Code), QString::NormalizationForm_C);
        const std::string Name = "U+" + QString::number(Code, 16).toStdString();

        // One button with all the marks at once.
        TGreekComposer AtOnce;
        TDocuments OneClick;
        OneClick.Apply(AtOnce.TypeCharacter(Parts[0]));
        TGreekMarks All = 0;
        for (size_t Index = 1; Index < Parts.size(); ++Index)
            All |= MarkOf(Parts[Index]);
        OneClick.Apply(AtOnce.ApplyMarks(All));
        EXPECT_EQ(Q(OneClick.ByCodePoint), Q(Expected)) << Name;

        // One mark a click before the letter: they wait for it.
        TGreekComposer Before;
        EXPECT_EQ(Q(RunScript(Before, Parts.substr(1) + Parts[0]).ByCodePoint), Q(Expected)) << Name << " marks first";

        // One mark a click, in every order.
        std::u32string Marks = Parts.substr(1);
        std::sort(Marks.begin(), Marks.end());
        const std::u32string AllMarks = Marks;
        do {
            TGreekComposer Composer;
            const TDocuments Documents = RunScript(Composer, Parts.substr(0, 1) + Marks);
            // Never a BackSpace whose effect depends on the program.
            EXPECT_EQ(Q(Documents.ByCodePoint), Q(Documents.ByCluster)) << Name;
            if (Documents.ByCodePoint.size() == 1) {
                EXPECT_EQ(Q(Documents.ByCodePoint), Q(Expected)) << Name << " marks " << Q(Marks).toStdString();
                continue;
            }
            // Unicode's holes on the way: a capital has no character with the circumflex, nor
            // with an accent and the iota subscript, until a breathing joins them; by then the
            // mark clicked first is a combining mark after the letter. The text keeps every mark.
            ++OrdersWithAHole;
            EXPECT_TRUE(QChar::isUpper(Parts[0])
                && (Marks.find(U'\u0345') != std::u32string::npos || Marks.find(U'\u0342') != std::u32string::npos))
                << Name;
            std::u32string Got = Normalized(Documents.ByCodePoint, QString::NormalizationForm_D).substr(1);
            std::sort(Got.begin(), Got.end());
            EXPECT_EQ(Q(Got), Q(AllMarks)) << Name;
        } while (std::next_permutation(Marks.begin(), Marks.end()));
    }
    // The monotonic letters and the polytonic block were all found.
    EXPECT_GT(Characters, 200);
    EXPECT_LT(OrdersWithAHole, Characters / 4);
}

TEST(GreekComposer, ClickSequencesLeaveTheirTextWhateverABackSpaceErases)
{
    const struct {
        std::u32string Script;
        std::u32string Expected;
        int BackSpaces;
        std::vector<TGreekMarks> StillWaiting = {};
        bool Blind = false;
    } Cases[] = {
        // Combinations without a character of their own get combining marks in canonical order.
        { U"β\u0301", U"β\u0301", 0 },
        { U"Υ\u0313", U"Υ\u0313", 0 },
        // The breathing has a character with rho; the accent follows it.
        { U"ρ\u0313\u0301", U"ῤ\u0301", 1 },
        { U"ρ\u0301\u0313", U"ρ\u0301\u0313", 0 },
        { U"λ\u1FDF", U"λ\u0314\u0342", 0 },
        // The capital with acute is a character; the iota subscript then comes as a mark.
        { U"Α\u0301\u0345", U"Ά\u0345", 1 },
        // The diaeresis goes before the breathing, as in Unicode's own decompositions.
        { U"α\u0313\u0308", U"α\u0308\u0313", 2 },
        // The length marks next to the letter, before accents and breathings, clicked first or not.
        { U"α\u0304\u0301", U"\u1FB1\u0301", 1 },
        { U"α\u0301\u0304", U"\u1FB1\u0301", 2 },
        { U"ι\u1FDE\u0304", U"\u1FD1\u0314\u0301", 2 },
        { U"υ\u0306\u0300", U"\u1FE0\u0300", 1 },
        { U"ι\u0308\u0306", U"\u1FD0\u0308", 2 },
        // The dot below sorts before the marks above and never joins the letter.
        { U"ε\u0301\u0323", U"\u03AD\u0323", 1 },
        { U"ϝ\u0323", U"ϝ\u0323", 0 },
        // Backspace takes the last mark first, then the letter; what precedes is then unknown,
        // so a mark waits for the next letter.
        { U"ω\u0345\u1FDF", U"ᾧ", 2 },
        { U"ω\u0345\u1FDF\b", U"ῳ", 3 },
        { U"ω\u0345\u1FDF\b\b", U"ω", 4 },
        { U"ω\u0345\u1FDF\b\b\b\u0301", U"", 5, { gmAcute } },
        // A mark with no letter of KIVO's own before it waits for the next letter.
        { U"\u0301α", U"ά", 0 },
        { U"λ \u0313α", U"λ ἀ", 0 },
        { U"ε\x01\u0301ο", U"εό", 0 },
        { U"«\u0314\u0342ω", U"«ὧ", 0 },
        // Taken back by a second click or by Backspace, which then erases nothing.
        { U"λ \u0301\u0301α", U"λ α", 0 },
        { U"λ \u0313\u0301\bα", U"λ ἀ", 0 },
        // What is not a letter passes; outside input leaves the mark waiting for KIVO's letter.
        { U"\u0301«\x01ο", U"«ό", 0 },
        // The letter then is as if its marks had followed it.
        { U"\u0304α\b", U"α", 1 },
        { U"\u0304α\u0301", U"\u1FB1\u0301", 0 },
        { U"\u0323β", U"β\u0323", 0 },
        { U"α\b\u0306", U"", 1, { gmBreve } },
        // Where outside input cannot be seen, a mark after a letter is a combining mark, as ever.
        { U"\u0313α\u0301", U"ἀ\u0301", 0, {}, true },
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Q(Case.Script).toStdString());
        TGreekComposer Composer(!Case.Blind);
        const TDocuments Documents = RunScript(Composer, Case.Script);
        EXPECT_EQ(Q(Documents.ByCodePoint), Q(Case.Expected));
        EXPECT_EQ(Q(Documents.ByCluster), Q(Case.Expected));
        EXPECT_EQ(Documents.BackSpaces, Case.BackSpaces);
        EXPECT_EQ(Composer.WaitingMarks(), Case.StillWaiting);
    }
}

// After a combining mark one BackSpace may erase the mark or the whole letter: the letter is
// then unknown, and the next mark waits.
TEST(GreekComposer, BackspaceAfterACombiningMarkIsOneBackSpaceAndTheNextMarkWaits)
{
    TGreekComposer Composer;
    Composer.TypeCharacter(U'μ');
    Composer.ApplyMarks(gmAcute);
    EXPECT_EQ(Composer.Backspace(), TComposerActions({ { cakBackSpace, {} } }));
    EXPECT_EQ(Composer.ApplyMarks(gmGrave), TComposerActions());
}
