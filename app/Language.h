#pragma once
// KIVO speaks the desktop's language: LANGUAGE first, then LC_ALL, LC_MESSAGES and LANG, as Qt
// reads them for QLocale::system(). English, the language of the source texts, needs nothing.
#include <QString>
#include <QStringList>

#include "UserText.h"

class QTranslator;

// The program's own translation for the desktop's language, loaded once; empty for English.
const QTranslator& ProgramTranslator();

// Installs the program's translation, and Qt's own for its dialogs and menus, into the
// application object; once, and only after that object exists (main does it before any
// window is built).
void InstallProgramTranslation();

// Text translated in Context, also before any application object exists (the command line's
// help, the errors of a start that ends early).
QString TranslatedBeforeStart(const char* Context, const char* Text);

// A text of the input layer, which knows no toolkit, in the desktop's language.
QString Translated(const TUserText& Text);

// From here on the input layer's lines on the terminal are in the desktop's language too.
void ReportInputLayerInDesktopLanguage();

// Writes "kivo: " and Message, translated in the context "kivo" with %1, %2, ... replaced by
// Arguments, as one line to stderr; also before any application object exists.
void ReportToTerminal(const char* Message, const QStringList& Arguments = {});
