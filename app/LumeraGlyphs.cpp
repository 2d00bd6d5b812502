#include "LumeraGlyphs.h"

#include "FontSubstitution.h"

#include <QChar>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <string_view>

namespace {

// Letters follow the Greek typewriter: each Latin key carries the Greek letter at its place,
// small and capital alike (u is theta, w final sigma, c psi, q the Greek question mark).
// J and V have no capital of their own in the keypad font (the keypad types their small
// letters instead) and are shown as they are; W and Q have no capital either.
// The punctuation of the accent toolbar stands for the spacing breathings, accents, iota
// subscript and diaeresis, alone and combined, that the font sets over the letter before.
constexpr std::array<char32_t, 256> BuildTable()
{
    std::array<char32_t, 256> Table {};
    // One string per case, so that a letter left out cannot shift the ones after it. A blank
    // marks a capital that the font does not have.
    constexpr std::u32string_view Small = U"αβψδεφγηιξκλμνοπ\u037Eρστθωςχυζ";
    constexpr std::u32string_view Capital = U"ΑΒΨΔΕΦΓΗΙ ΚΛΜΝΟΠ ΡΣΤΘ  ΧΥΖ";
    static_assert(Small.size() == 26 && Capital.size() == 26);
    for (int Letter = 0; Letter < 26; ++Letter) {
        Table['a' + Letter] = Small[Letter];
        if (Capital[Letter] != U' ')
            Table['A' + Letter] = Capital[Letter];
    }
    Table[';'] = U'\u1FBF'; // smooth breathing
    Table['\''] = U'\u1FFE'; // rough breathing
    Table['#'] = U'\u1FFD'; // acute
    Table['~'] = U'\u1FC0'; // circumflex
    Table[':'] = U'\u1FEF'; // grave
    Table['@'] = U'\u037A'; // iota subscript
    Table['['] = U'\u1FCE'; // smooth breathing and acute
    Table[']'] = U'\u1FDE'; // rough breathing and acute
    Table['{'] = U'\u1FCD'; // smooth breathing and grave
    Table['}'] = U'\u1FDD'; // rough breathing and grave
    Table['='] = U'\u1FCF'; // smooth breathing and circumflex
    Table['/'] = U'\u1FDF'; // rough breathing and circumflex
    Table['`'] = U'\u00A8'; // diaeresis
    Table['\\'] = U'\u1FEE'; // diaeresis and acute
    return Table;
}

std::array<char32_t, 256> BuildUnicodeTable()
{
    std::array<char32_t, 256> Table = BuildTable();
    for (char Letter = 'a'; Letter <= 'z'; ++Letter) {
        const char32_t Small = Table[static_cast<unsigned char>(Letter)];
        char32_t& Capital = Table[static_cast<unsigned char>(Letter - 'a' + 'A')];
        if (Capital == 0 && QChar::isLetter(Small))
            Capital = QChar::toUpper(Small);
    }
    return Table;
}

// The first installed family of a list of candidates, or the last one (Qt then falls back).
QString FirstInstalled(const QStringList& Candidates)
{
    const QStringList Installed = QFontDatabase::families();
    for (const QString& Family : Candidates) {
        if (Installed.contains(Family, Qt::CaseInsensitive))
            return Family;
    }
    return Candidates.last();
}

} // namespace

const std::array<char32_t, 256> LumeraGlyphs = BuildTable();
const std::array<char32_t, 256> UnicodeKeyGlyphs = BuildUnicodeTable();

QString LumeraSubstituteFamily()
{
    return FirstInstalled({ QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans"),
        QStringLiteral("Noto Serif"), QStringLiteral("FreeSerif") });
}

void RegisterDisplayFonts()
{
    ShowGlyphsForUnicodeOutput(false);
    // The two outside faces only change the look, never the text: Qt's own substitution. The
    // windows and their hand-broken texts were laid out for the narrow widths of MS Sans Serif;
    // a face with Arial's widths keeps every line on one line, the desktop's sans may not.
    const QString DesktopSans = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
        { QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans"), DesktopSans,
            QStringLiteral("DejaVu Sans") });
    QFont::insertSubstitutions(QStringLiteral("Tempus Sans ITC"),
        { QStringLiteral("Z003"), QStringLiteral("URW Chancery L"), QStringLiteral("DejaVu Serif") });
}

void ShowGlyphsForUnicodeOutput(bool UnicodeOutput)
{
    RegisterFontSubstitute("Lumera", LumeraSubstituteFamily(), UnicodeOutput ? UnicodeKeyGlyphs : LumeraGlyphs, UnicodeOutput);
}
