#pragma once
// What KIVO types: the keypad font's 8-bit codes (for editors set to the font Lumera) or the
// Greek letters themselves as Unicode. "Auto" is only a choice: it becomes one of the two.
#include <QString>
#include <QStringList>

#include <optional>

enum TOutputMode { omLumera, omUnicode, omAuto };

// "lumera", "unicode", "auto".
QString OutputModeName(TOutputMode Mode);
std::optional<TOutputMode> ParseOutputMode(const QString& Name);

// Auto is Lumera only where a font family of that name is installed (InstalledFamilies as
// QFontDatabase::families() lists them); the two others stay as they are.
TOutputMode ResolveOutputMode(TOutputMode Mode, const QStringList& InstalledFamilies);

// The choice last made in the window's menu, remembered in the desktop's usual settings place
// (organization and application "kivo"); Auto when none was made or it cannot be read.
TOutputMode SavedOutputMode();
void SaveOutputMode(TOutputMode Mode);
