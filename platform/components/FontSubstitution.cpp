#include "FontSubstitution.h"

#include <QFontDatabase>
#include <QStringList>

#include <map>
#include <optional>
#include <set>

namespace {

struct TFontSubstitute {
    QString Family;
    std::array<char32_t, 256> Glyphs {};
    bool EvenWhereInstalled = false;
};

std::string FoldCase(const std::string& Text)
{
    std::string Folded = Text;
    for (char& C : Folded) {
        if (C >= 'A' && C <= 'Z')
            C = static_cast<char>(C - 'A' + 'a');
    }
    return Folded;
}

std::map<std::string, TFontSubstitute>& Substitutes()
{
    static std::map<std::string, TFontSubstitute> Table;
    return Table;
}

// The installed families, read once: fonts are not installed while the program runs.
const std::set<std::string>& InstalledFamilies()
{
    static const std::set<std::string> Families = [] {
        std::set<std::string> Folded;
        for (const QString& Family : QFontDatabase::families())
            Folded.insert(FoldCase(Family.toStdString()));
        return Folded;
    }();
    return Families;
}

const TFontSubstitute* ActiveSubstitute(const std::string& Face)
{
    const std::string Key = FoldCase(Face);
    const auto Found = Substitutes().find(Key);
    if (Found == Substitutes().end())
        return nullptr;
    if (!Found->second.EvenWhereInstalled && InstalledFamilies().contains(Key))
        return nullptr;
    return &Found->second;
}

} // namespace

void RegisterFontSubstitute(const std::string& Face, const QString& SubstituteFamily,
    const std::array<char32_t, 256>& Glyphs, bool EvenWhereInstalled)
{
    Substitutes()[FoldCase(Face)] = TFontSubstitute { SubstituteFamily, Glyphs, EvenWhereInstalled };
}

void UnregisterFontSubstitute(const std::string& Face) { Substitutes().erase(FoldCase(Face)); }

bool IsFontSubstituted(const std::string& Face) { return ActiveSubstitute(Face) != nullptr; }

QString DisplayText(const std::string& Face, const std::string& Text)
{
    const TFontSubstitute* Substitute = ActiveSubstitute(Face);
    if (!Substitute)
        return QString::fromLatin1(Text.data(), static_cast<qsizetype>(Text.size()));
    QString Shown;
    Shown.reserve(static_cast<qsizetype>(Text.size()));
    for (const char C : Text) {
        const auto Code = static_cast<unsigned char>(C);
        const char32_t Glyph = Substitute->Glyphs[Code];
        const char32_t Drawn = Glyph != 0 ? Glyph : static_cast<char32_t>(Code);
        Shown += QString::fromUcs4(&Drawn, 1);
    }
    return Shown;
}

QString DisplayFamily(const std::string& Face)
{
    if (const TFontSubstitute* Substitute = ActiveSubstitute(Face))
        return Substitute->Family;
    return QString::fromLatin1(Face.data(), static_cast<qsizetype>(Face.size()));
}
