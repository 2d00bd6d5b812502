#pragma once
// The extra keys of Unicode output, what each types and where it sits in its row: what the
// row's widgets (ExtraKeys.h) and the tests that click them share. Nothing here needs a widget.
#include "GreekComposer.h"

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <algorithm>
#include <iterator>

struct TExtraKey {
    // What the key types (the composer brings it to NFC), or 0 for a mark key.
    char32_t Character;
    // What a mark key applies to the letter before it, or to the next one.
    TGreekMarks Marks;
    const char32_t* Caption;
    // English; shown through TExtraKeys::tr.
    const char* ToolTip;
    // Keys of one group stand together; a gap separates the groups.
    int Group;
};

inline constexpr TExtraKey ExtraKeys[] = {
    { U'\u0387', 0, U"\u00B7", QT_TRANSLATE_NOOP("TExtraKeys", "Ano teleia, the high stop (typed as U+00B7, the form Unicode's NFC gives it)"), 0 },
    { U'\u2019', 0, U"\u2019", QT_TRANSLATE_NOOP("TExtraKeys", "Elision mark, the apostrophe Unicode recommends (U+2019)"), 0 },
    { U'\u1FBD', 0, U"\u1FBD", QT_TRANSLATE_NOOP("TExtraKeys", "Koronis (U+1FBD)"), 0 },
    { U'\u00AB', 0, U"\u00AB", QT_TRANSLATE_NOOP("TExtraKeys", "Opening guillemet (U+00AB)"), 0 },
    { U'\u00BB', 0, U"\u00BB", QT_TRANSLATE_NOOP("TExtraKeys", "Closing guillemet (U+00BB)"), 0 },
    { 0, gmMacron, U"\u25CC\u0304", QT_TRANSLATE_NOOP("TExtraKeys", "Macron, a long vowel: a mark, clicked after the letter or before it (U+0304)"), 1 },
    { 0, gmBreve, U"\u25CC\u0306", QT_TRANSLATE_NOOP("TExtraKeys", "Breve, a short vowel: a mark, clicked after the letter or before it (U+0306)"), 1 },
    { 0, gmDotBelow, U"\u25CC\u0323", QT_TRANSLATE_NOOP("TExtraKeys", "Dot below, an uncertain letter: a mark, clicked after the letter's other marks (U+0323)"), 1 },
    { U'\u03DD', 0, U"\u03DD", QT_TRANSLATE_NOOP("TExtraKeys", "Digamma (U+03DD)"), 2 },
    { U'\u03DC', 0, U"\u03DC", QT_TRANSLATE_NOOP("TExtraKeys", "Capital digamma (U+03DC)"), 2 },
    { U'\u03DB', 0, U"\u03DB", QT_TRANSLATE_NOOP("TExtraKeys", "Stigma, the numeral 6 (U+03DB)"), 2 },
    { U'\u03DA', 0, U"\u03DA", QT_TRANSLATE_NOOP("TExtraKeys", "Capital stigma (U+03DA)"), 2 },
    { U'\u03D9', 0, U"\u03D9", QT_TRANSLATE_NOOP("TExtraKeys", "Archaic koppa (U+03D9)"), 2 },
    { U'\u03D8', 0, U"\u03D8", QT_TRANSLATE_NOOP("TExtraKeys", "Capital archaic koppa (U+03D8)"), 2 },
    { U'\u03DF', 0, U"\u03DF", QT_TRANSLATE_NOOP("TExtraKeys", "Koppa, the numeral 90 (U+03DF)"), 2 },
    { U'\u03DE', 0, U"\u03DE", QT_TRANSLATE_NOOP("TExtraKeys", "Capital koppa (U+03DE)"), 2 },
    { U'\u03E1', 0, U"\u03E1", QT_TRANSLATE_NOOP("TExtraKeys", "Sampi, the numeral 900 (U+03E1)"), 2 },
    { U'\u03E0', 0, U"\u03E0", QT_TRANSLATE_NOOP("TExtraKeys", "Capital sampi (U+03E0)"), 2 },
    { U'\u03F2', 0, U"\u03F2", QT_TRANSLATE_NOOP("TExtraKeys", "Lunate sigma (U+03F2)"), 2 },
    { U'\u03F9', 0, U"\u03F9", QT_TRANSLATE_NOOP("TExtraKeys", "Capital lunate sigma (U+03F9)"), 2 },
    { U'\u0374', 0, U"\u02B9", QT_TRANSLATE_NOOP("TExtraKeys", "Numeral sign, after a numeral (typed as U+02B9, the form NFC gives U+0374)"), 3 },
    { U'\u0375', 0, U"\u0375", QT_TRANSLATE_NOOP("TExtraKeys", "Lower numeral sign, before thousands (U+0375)"), 3 },
    { U'\u27E8', 0, U"\u27E8", QT_TRANSLATE_NOOP("TExtraKeys", "Opening angle bracket, letters the editor adds (U+27E8)"), 4 },
    { U'\u27E9', 0, U"\u27E9", QT_TRANSLATE_NOOP("TExtraKeys", "Closing angle bracket (U+27E9)"), 4 },
    { U'[', 0, U"[", QT_TRANSLATE_NOOP("TExtraKeys", "Opening square bracket, letters lost (U+005B)"), 4 },
    { U']', 0, U"]", QT_TRANSLATE_NOOP("TExtraKeys", "Closing square bracket (U+005D)"), 4 },
    { U'\u2020', 0, U"\u2020", QT_TRANSLATE_NOOP("TExtraKeys", "Dagger, a corrupt passage (U+2020)"), 4 },
    { U'\u2E0F', 0, U"\u2E0F", QT_TRANSLATE_NOOP("TExtraKeys", "Paragraphos (U+2E0F)"), 4 },
};
inline constexpr int ExtraKeyCount = static_cast<int>(std::size(ExtraKeys));

// The row of extra keys fills a rectangle of Row's size; the button that shows and hides it
// stands at its right end, wide with the row hidden, narrow with it shown.
inline constexpr int ExtraKeysMargin = 2;
inline constexpr int ExtraKeysGroupGap = 6;
inline constexpr int ExtraKeysWidestKey = 30;

inline QRect ExtraKeysToggleBounds(QSize Row, bool RowShown)
{
    const int Width = std::min(RowShown ? 24 : 100, std::max(0, Row.width() - 2 * ExtraKeysMargin));
    return QRect(Row.width() - ExtraKeysMargin - Width, ExtraKeysMargin, Width, std::max(0, Row.height() - 2 * ExtraKeysMargin));
}

// The keys are as wide as the row allows, up to the widest, and stand centred left of the
// toggle.
inline QRect ExtraKeyBounds(QSize Row, int Index)
{
    const int Groups = ExtraKeys[ExtraKeyCount - 1].Group + 1;
    const int Room = ExtraKeysToggleBounds(Row, true).left() - 2 * ExtraKeysMargin - (Groups - 1) * ExtraKeysGroupGap;
    const int KeyWidth = std::clamp(Room / ExtraKeyCount, 0, ExtraKeysWidestKey);
    const int Left = ExtraKeysMargin + std::max(0, Room - KeyWidth * ExtraKeyCount) / 2;
    return QRect(Left + Index * KeyWidth + ExtraKeys[Index].Group * ExtraKeysGroupGap, ExtraKeysMargin, KeyWidth,
        std::max(0, Row.height() - 2 * ExtraKeysMargin));
}
