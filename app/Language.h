#pragma once
// KIVO speaks the desktop's language: LANGUAGE first, then LC_ALL, LC_MESSAGES and LANG, as Qt
// reads them for QLocale::system(). English, the language of the source texts, needs nothing.
#include <QString>

class QTranslator;

// The program's own translation for the desktop's language, loaded once; empty for English.
const QTranslator& ProgramTranslator();

// Installs the program's translation, and Qt's own for its dialogs and menus, into the
// application object; once, and only after that object exists.
void InstallProgramTranslation();

// Text translated in Context before any application object exists (the command line's help).
QString TranslatedBeforeStart(const char* Context, const char* Text);
