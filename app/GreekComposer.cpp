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
// with its marks in any order come out as the one precomposed character. Unicode has no
// letter with a length mark and another mark; the sequence it prescribes keeps the macron or
// breve next to the letter (alpha, macron, smooth breathing, acute: U+1FB1 U+0313 U+0301).
// The dot below sorts before them all by its combining class, whatever its place here.
constexpr TMarkCharacter MarkOrder[] = {
    { gmMacron, U'\u0304' },
    { gmBreve, U'\u0306' },
    { gmDiaeresis, U'\u0308' },
    { gmSmoothBreathing, U'\u0313' },
    { gmRoughBreathing, U'\u0314' },
    { gmAcute, U'\u0301' },
    { gmGrave, U'\u0300' },
    { gmCircumflex, U'\u0342' },
    { gmIotaSubscript, U'\u0345' },
    { gmDotBelow, U'\u0323' },
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

void TGreekComposer::CancelWaiting() { SetWaiting({}); }

void TGreekComposer::SetWaiting(std::vector<TGreekMarks> Clicks)
{
    if (Clicks == Waiting)
        return;
    Waiting = std::move(Clicks);
    if (OnWaitingChanged)
        OnWaitingChanged();
}

TComposerActions TGreekComposer::TypeCharacter(char32_t Character)
{
    if (!IsGreekLetter(Character)) {
        Last.reset();
        return { { cakType, Nfc(std::u32string(1, Character)) } };
    }
    // The letter takes the marks waiting for it as if they had been clicked after it.
    std::vector<TGreekMarks> Clicks = Waiting;
    SetWaiting({});
    Last = TLetter { Character, std::move(Clicks), {} };
    Last->Typed = Compose(Character, Last->Clicks);
    return { { cakType, Last->Typed } };
}

TComposerActions TGreekComposer::ApplyMarks(TGreekMarks Marks)
{
    if (Marks == 0)
        return {};
    if (!Last) {
        std::vector<TGreekMarks> Clicks = Waiting;
        if (const auto Same = std::find(Clicks.begin(), Clicks.end(), Marks); Same != Clicks.end())
            Clicks.erase(Same);
        else
            Clicks.push_back(Marks);
        SetWaiting(std::move(Clicks));
        return {};
    }
    // Outside input cannot be seen, or a combining mark already follows the letter (what a
    // BackSpace would erase is unknown): the marks go on as combining characters.
    if (!RememberLetters || Last->Typed.size() != 1) {
        const std::u32string Combining = CombiningMarks(Marks);
        Last->Clicks.push_back(Marks);
        Last->Typed += Combining;
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
    if (!Waiting.empty()) {
        std::vector<TGreekMarks> Clicks = Waiting;
        Clicks.pop_back();
        SetWaiting(std::move(Clicks));
        return {};
    }
    if (!RememberLetters || !Last || Last->Clicks.empty() || Last->Typed.size() != 1) {
        Last.reset();
        return { { cakBackSpace, {} } };
    }
    Last->Clicks.pop_back();
    Last->Typed = Compose(Last->Base, Last->Clicks);
    return { { cakBackSpace, {} }, { cakType, Last->Typed } };
}
