#include "Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
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

QString TranslatedPlatformMessage(const std::string& Message)
{
    static const char* const Known[] = {
        QT_TRANSLATE_NOOP("kivo", "cannot open display %1: is an X server running and DISPLAY set?"),
        QT_TRANSLATE_NOOP("kivo", "the X server %1 has no XTest extension, so no keys can be typed"),
        QT_TRANSLATE_NOOP("kivo", "the X server %1 has no XKEYBOARD extension, so its layout cannot be read"),
        QT_TRANSLATE_NOOP("kivo", "cannot connect to the Wayland display %1"),
        QT_TRANSLATE_NOOP("kivo", "this Wayland desktop offers no virtual keyboard (zwp_virtual_keyboard_manager_v1)"),
        QT_TRANSLATE_NOOP("kivo", "this Wayland desktop has no seat to type on"),
        QT_TRANSLATE_NOOP("kivo", "the Wayland compositor refused KIVO's virtual keyboard"),
        QT_TRANSLATE_NOOP("kivo", "--platform=wayland: no Wayland compositor answers at WAYLAND_DISPLAY"),
    };
    const QString Text = QString::fromStdString(Message);
    for (const char* Wording : Known) {
        QString Pattern = QRegularExpression::escape(QString::fromUtf8(Wording));
        Pattern.replace(QStringLiteral("\\%1"), QStringLiteral("(.*)"));
        const QRegularExpressionMatch Match = QRegularExpression(QRegularExpression::anchoredPattern(Pattern)).match(Text);
        if (!Match.hasMatch())
            continue;
        const QString Translated = TranslatedBeforeStart("kivo", Wording);
        return Match.lastCapturedIndex() >= 1 ? Translated.arg(Match.captured(1)) : Translated;
    }
    return Text;
}
