#include "OutputMode.h"

#include <QSettings>

namespace {

const char* const SettingsKey = "output";

QSettings KivoSettings() { return QSettings(QStringLiteral("kivo"), QStringLiteral("kivo")); }

} // namespace

QString OutputModeName(TOutputMode Mode)
{
    switch (Mode) {
    case omLumera: return QStringLiteral("lumera");
    case omUnicode: return QStringLiteral("unicode");
    case omAuto: break;
    }
    return QStringLiteral("auto");
}

std::optional<TOutputMode> ParseOutputMode(const QString& Name)
{
    for (const TOutputMode Mode : { omLumera, omUnicode, omAuto }) {
        if (Name == OutputModeName(Mode))
            return Mode;
    }
    return std::nullopt;
}

TOutputMode ResolveOutputMode(TOutputMode Mode, const QStringList& InstalledFamilies)
{
    if (Mode != omAuto)
        return Mode;
    return InstalledFamilies.contains(QStringLiteral("Lumera"), Qt::CaseInsensitive) ? omLumera : omUnicode;
}

TOutputMode SavedOutputMode()
{
    const QSettings Settings = KivoSettings();
    return ParseOutputMode(Settings.value(QLatin1String(SettingsKey)).toString()).value_or(omAuto);
}

void SaveOutputMode(TOutputMode Mode)
{
    QSettings Settings = KivoSettings();
    Settings.setValue(QLatin1String(SettingsKey), OutputModeName(Mode));
}
