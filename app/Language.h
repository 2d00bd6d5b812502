#pragma once
// KIVO speaks the desktop's language: LANGUAGE first, then LC_ALL, LC_MESSAGES and LANG, as Qt
// reads them for QLocale::system(). English, the language of the source texts, needs nothing.
#include <QString>
#include <QStringList>

#include <string>

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

// A message of the input layer, which knows no toolkit and words its messages in English, in
// the desktop's language where its wording is one that a start can end with; else as it came.
QString TranslatedPlatformMessage(const std::string& Message);

// Writes "kivo: " and Message, translated in the context "kivo" with %1, %2, ... replaced by
// Arguments, as one line to stderr; also before any application object exists.
void ReportToTerminal(const char* Message, const QStringList& Arguments = {});
