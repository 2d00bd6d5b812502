// The user's keymap and lock state with KIVO running, on a real X server with a window manager:
// the spare keys a killed KIVO left behind are gone as soon as the next one runs, and with the
// user's own Caps Lock on, every key types what it shows. A UTF-8 xterm in raw mode writes what
// it receives to a file; clicks come from one XTest client, each paced on the arrival of the
// character before.
#include "EndToEndSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// What a run of keys of one keypad row types, from Column on: one character per key; the
// keypad's Caps Lock clicked first where CapsFirst.
struct TKeyRun {
    int Row;
    int Column;
    const char16_t* Typed;
    bool CapsFirst = false;
};

// Every key of the letter rows that types a character of its own in Unicode output (the keys
// of marks, which change the letter before, are left out), as the keypad shows it and with
// the keypad's Caps Lock on. Letters are Greek at a Greek typewriter's places; q is the Greek
// question mark, which is the semicolon in every normalized text.
const TKeyRun Plain[] = { { 2, 1, u"1234567890-" }, { 3, 1, u";ςερτυθιοπ" }, { 4, 1, u"ασδφγηξκλ" }, { 5, 1, u"ζχψωβνμ,." } };
const TKeyRun Capitals[] = { { 2, 1, u"!", true }, { 2, 4, u"$%^&*()_+" }, { 3, 1, u"QΣΕΡΤΥΘΙΟΠ" }, { 4, 1, u"ΑΣΔΦΓΗΞΚΛ" },
    { 4, 11, u"\"" }, { 5, 1, u"ΖΧΨΩΒΝΜ<>?" } };

class KivoKeymap : public TKivoTest {
protected:
    static void SetUpTestSuite() { StartTarget(QStringLiteral("raw -echo"), true); }

    void TearDown() override
    {
        EXPECT_TRUE(Stop(Kivo));
        EXPECT_TRUE(SetCapsLock(false));
    }

    void StartKivo(const char* Output)
    {
        const QStringList Arguments { QStringLiteral("--output=") + QLatin1String(Output) };
        ASSERT_FALSE((MainWindow = ::StartKivo(Kivo, Arguments, Settings.path())).isEmpty());
    }

    // Clicks the keys and returns what arrived; Expected gets what they show.
    QString Click(const std::vector<TKeyRun>& Runs, QString& Expected)
    {
        const QRect Client = ClientBounds(MainWindow);
        std::vector<TPacedClick> Clicks;
        for (const TKeyRun& Run : Runs) {
            if (Run.CapsFirst)
                Clicks.push_back({ KeypadPoint(Client, Caps), 0 });
            const QString Typed = QString::fromUtf16(Run.Typed);
            for (qsizetype Index = 0; Index < Typed.size(); ++Index) {
                const QPoint At = KeypadPoint(Client, Letter(Run.Row, Run.Column + int(Index)));
                Clicks.push_back({ At, int(Typed.mid(Index, 1).toUtf8().size()) });
            }
            Expected += Typed;
        }
        // Not a race: at a pace the program keeps up with, so that only the lock state counts.
        Report = RunPacedClicks(Clicks, Target->File, Target->Mark(), 100, 100);
        QThread::msleep(200); // a surplus would have arrived by now
        return QString::fromUtf8(Target->Typed());
    }

    static bool CapsLockOn() { return RunCommand(QStringLiteral("xset"), { QStringLiteral("q") }).contains(QRegularExpression(QStringLiteral("Caps Lock:\\s+on"))); }

    // As the user sets it: a press of the layout's Caps Lock key.
    static bool SetCapsLock(bool On)
    {
        if (CapsLockOn() != On)
            Xdotool({ QStringLiteral("key"), QStringLiteral("Caps_Lock") });
        return WaitFor([&] { return CapsLockOn() == On; });
    }

    QTemporaryDir Settings;
    QString Report;
};

TEST_F(KivoKeymap, AKilledKeyboardsSparesAreGoneWhileTheNextOneRuns)
{
    ASSERT_TRUE(SetLayout(QStringLiteral("gr")));
    const QString LayoutsOwn = KeymapDump();
    ASSERT_FALSE(LayoutsOwn.isEmpty());
    // Every Latin letter once, each on a spare key: the layout has none of them.
    StartKivo("lumera");
    const TKeyRun Letters[] = { { 3, 1, u"qwertyuiop" }, { 4, 1, u"asdfghjkl" }, { 5, 1, u"zxcvbnm" } };
    QString Expected;
    const QString Arrived = Click({ std::begin(Letters), std::end(Letters) }, Expected);
    ASSERT_EQ(Arrived.toStdString(), Expected.toStdString());
    const int Borrowed = KeysDiffering(LayoutsOwn, KeymapDump());
    ASSERT_GT(Borrowed, 0);

    Kivo->kill();
    ASSERT_TRUE(Kivo->waitForFinished(5000));
    StartKivo("lumera");
    const bool Repaired = WaitFor([&] { return KeymapDump() == LayoutsOwn; }, 10000);
    std::printf("%d keys borrowed before the kill; %d still borrowed while the next KIVO runs\n", Borrowed,
        KeysDiffering(LayoutsOwn, KeymapDump()));
    EXPECT_TRUE(Repaired) << KeysDiffering(LayoutsOwn, KeymapDump()) << " of " << Borrowed << " keys still carry the killed KIVO's symbols";
    EXPECT_FALSE(Kivo->waitForFinished(100)) << "the new KIVO ended";
}

TEST_F(KivoKeymap, WithTheUsersCapsLockOnKeysTypeWhatTheyShow)
{
    for (const char* Layout : { "us", "fr", "gr:polytonic" }) {
        ASSERT_TRUE(SetLayout(QString::fromLatin1(Layout)));
        ASSERT_TRUE(SetCapsLock(true));
        StartKivo("unicode");
        std::vector<TKeyRun> Runs(std::begin(Plain), std::end(Plain));
        Runs.insert(Runs.end(), std::begin(Capitals), std::end(Capitals));
        QString Expected;
        const QString Arrived = Click(Runs, Expected);
        EXPECT_TRUE(Stop(Kivo));
        const TTypingDifference Difference = CompareTyped(Expected, Arrived);
        std::printf("Caps Lock on, %s: %lld keys, %s; driver: %s\n", Layout, qlonglong(Expected.size()), Difference.Summary().c_str(),
            qPrintable(Report));
        EXPECT_EQ(Arrived.toStdString(), Expected.toStdString()) << "on " << Layout << ": " << Difference.Summary();
    }
}

} // namespace
