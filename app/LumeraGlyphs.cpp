#include "LumeraGlyphs.h"

#include "FontSubstitution.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

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
    const char32_t Small[26] = {
        U'α', U'β', U'ψ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι', U'ξ', U'κ', U'λ', U'μ', // a-m
        U'ν', U'ο', U'\u037E', U'ρ', U'σ', U'τ', U'θ', U'ω', U'ς', U'χ', U'υ', U'ζ', // n-z
    };
    const char32_t Capital[26] = {
        U'Α', U'Β', U'Ψ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι', 0, U'Κ', U'Λ', U'Μ', // A-M
        U'Ν', U'Ο', 0, U'Ρ', U'Σ', U'Τ', U'Θ', 0, 0, U'Χ', U'Υ', U'Ζ', // N-Z
    };
    for (int Letter = 0; Letter < 26; ++Letter) {
        Table['a' + Letter] = Small[Letter];
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

QString LumeraSubstituteFamily()
{
    return FirstInstalled({ QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans"),
        QStringLiteral("Noto Serif"), QStringLiteral("FreeSerif") });
}

void RegisterDisplayFonts()
{
    RegisterFontSubstitute("Lumera", LumeraSubstituteFamily(), LumeraGlyphs);
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
