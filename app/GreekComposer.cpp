#include "GreekComposer.h"

#include <QChar>
#include <QList>
#include <QString>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

struct TMarkCharacter {
    TGreekMark Mark;
    char32_t Combining;
};

// In the order of Unicode's decompositions of the Greek letters (U+0390 is iota, diaeresis,
// acute; U+1F84 is alpha, smooth breathing, acute, iota subscript). Canonical ordering keeps
// marks of one combining class in the order typed, so this order is what makes a letter typed
// with its marks in any order come out as the one precomposed character.
constexpr TMarkCharacter MarkOrder[] = {
    { gmDiaeresis, U'\u0308' },
    { gmSmoothBreathing, U'\u0313' },
    { gmRoughBreathing, U'\u0314' },
    { gmAcute, U'\u0301' },
    { gmGrave, U'\u0300' },
    { gmCircumflex, U'\u0342' },
    { gmIotaSubscript, U'\u0345' },
};

std::u32string ToUcs4(const QString& Text)
{
    const QList<uint> Codes = Text.toUcs4();
    return std::u32string(Codes.begin(), Codes.end());
}

QString FromUcs4(const std::u32string& Text) { return QString::fromUcs4(Text.data(), static_cast<qsizetype>(Text.size())); }

std::u32string Nfc(const std::u32string& Text) { return ToUcs4(FromUcs4(Text).normalized(QString::NormalizationForm_C)); }

// The letter with the marks of all clicks, in decomposition order (a mark clicked twice is
// there twice), composed as far as Unicode allows.
std::u32string Compose(char32_t Base, const std::vector<TGreekMarks>& Clicks)
{
    std::u32string Text(1, Base);
    for (const TMarkCharacter& Mark : MarkOrder) {
        for (const TGreekMarks Click : Clicks) {
            if (Click & Mark.Mark)
                Text += Mark.Combining;
        }
    }
    return Nfc(Text);
}

} // namespace

std::u32string CombiningMarks(TGreekMarks Marks)
{
    std::u32string Text;
    for (const TMarkCharacter& Mark : MarkOrder) {
        if (Marks & Mark.Mark)
            Text += Mark.Combining;
    }
    return Text;
}

TGreekMarks MarksOfSpacingCharacter(char32_t Character)
{
    // The spacing forms decompose (for compatibility) to a space and the combining marks; the
    // spacing grave U+1FEF only to the ASCII grave accent, which decomposes no further.
    const std::u32string Parts = ToUcs4(FromUcs4(std::u32string(1, Character)).normalized(QString::NormalizationForm_KD));
    if (Parts.size() < 2 && Parts != U"`")
        return 0;
    TGreekMarks Marks = 0;
    for (const char32_t Part : Parts) {
        if (Part == U' ')
            continue;
        if (Part == U'`') {
            Marks |= gmGrave;
            continue;
        }
        const auto Found = std::find_if(std::begin(MarkOrder), std::end(MarkOrder),
            [Part](const TMarkCharacter& Mark) { return Mark.Combining == Part; });
        if (Found == std::end(MarkOrder))
            return 0;
        Marks |= Found->Mark;
    }
    return Marks;
}

bool IsGreekLetter(char32_t Character)
{
    return QChar::script(Character) == QChar::Script_Greek && QChar::isLetter(Character)
        && MarksOfSpacingCharacter(Character) == 0;
}

TGreekComposer::TGreekComposer(bool RememberLetters)
    : RememberLetters(RememberLetters)
{
}

void TGreekComposer::SetRememberLetters(bool Remember)
{
    RememberLetters = Remember;
    Last.reset();
}

void TGreekComposer::Forget() { Last.reset(); }

TComposerActions TGreekComposer::TypeCharacter(char32_t Character)
{
    const std::u32string Typed = Nfc(std::u32string(1, Character));
    if (RememberLetters && IsGreekLetter(Character))
        Last = TLetter { Character, {}, Typed };
    else
        Last.reset();
    return { { cakType, Typed } };
}

TComposerActions TGreekComposer::ApplyMarks(TGreekMarks Marks)
{
    if (Marks == 0)
        return {};
    // Nothing known to sit before the cursor, or a combining mark already follows the letter
    // (what a BackSpace would erase is unknown): the marks go on as combining characters.
    if (!Last || Last->Typed.size() != 1) {
        const std::u32string Combining = CombiningMarks(Marks);
        if (Last) {
            Last->Clicks.push_back(Marks);
            Last->Typed += Combining;
        }
        return { { cakType, Combining } };
    }
    Last->Clicks.push_back(Marks);
    const std::u32string Composed = Compose(Last->Base, Last->Clicks);
    const std::u32string Before = std::exchange(Last->Typed, Composed);
    if (Composed.starts_with(Before))
        return { { cakType, Composed.substr(Before.size()) } };
    return { { cakBackSpace, {} }, { cakType, Composed } };
}

TComposerActions TGreekComposer::Backspace()
{
    if (!Last || Last->Clicks.empty() || Last->Typed.size() != 1) {
        Last.reset();
        return { { cakBackSpace, {} } };
    }
    Last->Clicks.pop_back();
    Last->Typed = Compose(Last->Base, Last->Clicks);
    return { { cakBackSpace, {} }, { cakType, Last->Typed } };
}
