#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

const QTranslator& ProgramTranslator()
{
    static QTranslator* const Translator = [] {
        auto* Loaded = new QTranslator;
        // Built into the program by qt_add_translations: kivo_el.qm and so on. None found is
        // English, the language of the source texts.
        (void)Loaded->load(QLocale::system(), QStringLiteral("kivo"), QStringLiteral("_"), QStringLiteral(":/i18n"));
        return Loaded;
    }();
    return *Translator;
}

void InstallProgramTranslation()
{
    static bool Installed = false;
    if (Installed || !QCoreApplication::instance())
        return;
    Installed = true;
    if (!ProgramTranslator().isEmpty())
        QCoreApplication::installTranslator(const_cast<QTranslator*>(&ProgramTranslator()));
    auto* Qt = new QTranslator(QCoreApplication::instance());
    if (Qt->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(Qt);
}

QString TranslatedBeforeStart(const char* Context, const char* Text)
{
    const QString Translated = ProgramTranslator().translate(Context, Text);
    return Translated.isEmpty() ? QString::fromUtf8(Text) : Translated;
}

void ReportToTerminal(const char* Message, const QStringList& Arguments)
{
    QString Line = TranslatedBeforeStart("kivo", Message);
    for (const QString& Argument : Arguments)
        Line = Line.arg(Argument);
    std::fprintf(stderr, "kivo: %s\n", qPrintable(Line));
}

QString Translated(const TUserText& Text)
{
    if (Text.Empty())
        return {};
    // A detail may itself be one of the marked wordings (what a desktop lacks, say).
    std::vector<std::string> Details;
    for (const std::string& Detail : Text.Details)
        Details.push_back(TranslatedBeforeStart("kivo", Detail.c_str()).toStdString());
    return QString::fromStdString(FilledIn(TranslatedBeforeStart("kivo", Text.Wording).toStdString(), Details));
}

void ReportInputLayerInDesktopLanguage()
{
    SetUserTextSink([](const TUserText& Text) { std::fprintf(stderr, "kivo: %s\n", qPrintable(Translated(Text))); });
}
