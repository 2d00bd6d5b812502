// KIVO as KWin's virtual keyboard on headless KWin (run through scripts/with-wayland kwin
// --input-method FILE): kwinrc names KIVO's desktop file as System Settings writes it, and KWin
// starts KIVO itself as its input method. The keypad's keys are clicked with the seat's real
// pointer: they type into kwrite (Qt 5, native Wayland, text-input), whose saved file must hold
// exactly the NFC bytes, and into an XWayland xterm (no text input there: KIVO's X11 path). The
// target keeps the focus in KWin's own view throughout.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "DesktopScenario.h"

namespace {

const QString Base = qEnvironmentVariable("KIVO_WL_BASE");

// What a KWin script prints: each line the script gives to Print(...), from KWin's log (KWin
// 5.27 names a loaded script /N; print() goes to its stderr); empty when it did not run.
QString KWinScript(const QString& Body)
{
    static int Count = 0;
    const QString Tag = QStringLiteral("kivo-kde-%1-%2").arg(QCoreApplication::applicationPid()).arg(++Count);
    const QString Path = QStringLiteral("/tmp/%1.js").arg(Tag);
    QFile Script(Path);
    if (!Script.open(QIODevice::WriteOnly))
        return {};
    Script.write(QStringLiteral("function Print(s) { print(\"%1 \" + s); }\n%2\nprint(\"%1 .\");\n").arg(Tag, Body).toUtf8());
    Script.close();
    const auto Call = [](const QString& Object, const char* Method, const QStringList& Arguments = {}) {
        QStringList Command { QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
            QStringLiteral("org.kde.KWin"), QStringLiteral("--object-path"), Object, QStringLiteral("--method") };
        return RunCommand(QStringLiteral("gdbus"), Command << QString::fromLatin1(Method) << Arguments);
    };
    const QString Id = Call(QStringLiteral("/Scripting"), "org.kde.kwin.Scripting.loadScript", { Path, Tag })
                           .remove(QRegularExpression(QStringLiteral("[^0-9]")));
    Call(QLatin1Char('/') + Id, "org.kde.kwin.Script.run");
    QStringList Printed;
    const bool Ended = WaitFor([&] {
        Printed.clear();
        for (const QByteArray& Each : Contents(Base + QStringLiteral("/logs/kwin.log")).split('\n'))
            if (const QString Line = QString::fromUtf8(Each); Line.contains(Tag + QLatin1Char(' ')))
                Printed << Line.section(Tag + QLatin1Char(' '), 1);
        return !Printed.isEmpty() && Printed.last() == QStringLiteral(".");
    }, 5000);
    Call(QStringLiteral("/Scripting"), "org.kde.kwin.Scripting.unloadScript", { Tag });
    QFile::remove(Path);
    if (!Ended)
        return {};
    Printed.removeLast();
    return Printed.join(QLatin1Char('\n'));
}

// A window's frame in screen coordinates, as KWin has it: native and X11 windows alike.
QRect KWinFrame(qint64 Pid)
{
    const QStringList Numbers = KWinScript(QStringLiteral(
        "for (const c of workspace.clientList()) if (c.pid == %1) { const g = c.frameGeometry; Print(g.x + ' ' + g.y + ' ' + g.width + ' ' + g.height); }")
        .arg(Pid)).section(QLatin1Char('\n'), 0, 0).split(QLatin1Char(' '));
    return Numbers.size() == 4 ? QRect(Numbers[0].toInt(), Numbers[1].toInt(), Numbers[2].toInt(), Numbers[3].toInt()) : QRect();
}

// The name of the program that started the X11 window titled Title.
QString ParentName(const QString& Title)
{
    const QString Reply = RunCommand(QStringLiteral("xprop"), { QStringLiteral("-name"), Title, QStringLiteral("_NET_WM_PID") });
    const QString Pid = Reply.section(QLatin1Char('='), 1).trimmed();
    const QString Status = QString::fromLatin1(Contents(QStringLiteral("/proc/%1/status").arg(Pid)));
    const QString Parent = QRegularExpression(QStringLiteral("\nPPid:\\s+(\\d+)")).match(Status).captured(1);
    return QString::fromLatin1(Contents(QStringLiteral("/proc/%1/comm").arg(Parent))).trimmed();
}

const TKeypadOnScreen Keypad { .Area = XKeypadArea };

class KivoOnKWin : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QDir().mkpath(QStringLiteral("/tmp/kivo-kde-test"));
        // The targets' settings start empty.
        qputenv("HOME", "/tmp/kivo-kde-test/root-home");
        KeypadShown = WaitFor([] { return XKeypadArea().isValid(); }, 20000);
        KeypadParent = ParentName(UnicodeKeypadTitle);

        // Started as from a launcher in a Plasma session: Qt programs on Wayland, with no
        // input-method module of their own (the compositor's text input serves them).
        qputenv("QT_QPA_PLATFORM", "wayland");
        qunsetenv("QT_IM_MODULE");
        Xterm.StartXterm();
        QFile(Editor.File).open(QIODevice::WriteOnly);
        Editor.Start(QStringLiteral("kwrite"), { Editor.File });
    }

    static void TearDownTestSuite()
    {
        End(*Editor.Process);
        End(*Xterm.Process);
    }

    void SetUp() override
    {
        ASSERT_TRUE(KeypadShown) << "KWin started no KIVO keypad";
        ASSERT_EQ(KeypadParent.toStdString(), "kwin_wayland") << "the keypad is not KWin's input method";
    }

    // Raised as by a click on its entry in the task manager, then a click into it where a user
    // would click to type there.
    static void Focus(const TTarget& Target)
    {
        KWinScript(QStringLiteral("for (const c of workspace.clientList()) if (c.pid == %1) workspace.activeClient = c;").arg(Target.Process->processId()));
        const QRect Frame = KWinFrame(Target.Process->processId());
        ASSERT_TRUE(Frame.isValid()) << "KWin shows no window of the target";
        ClickInside(Frame);
        ASSERT_TRUE(WaitFor([&] { return Target.HasFocus(); })) << "focus: " << CompositorFocus().toStdString();
        QThread::msleep(300);
    }

    // Right of the middle of a window (for kwrite, in its document past the end of a short
    // line), clear of the keypad.
    static void ClickInside(const QRect& Frame)
    {
        QPoint At(Frame.left() + Frame.width() * 3 / 4, Frame.top() + Frame.height() / 2);
        const QRect Near = Keypad.Area().adjusted(-40, -40, 40, 40);
        if (Near.contains(At))
            At.setY(Near.top() > Frame.top() + 150 ? Near.top() - 20 : Near.bottom() + 20);
        SeatClick(At);
    }

    static inline TTarget Editor { .Title = QStringLiteral("kwrite"), .File = QStringLiteral("/tmp/kivo-kde-test/editor.txt") };
    static inline TTarget Xterm { .Title = QStringLiteral("kivo-xterm"),
        .File = QStringLiteral("/tmp/kivo-kde-test/xterm-typed") };
    static inline bool KeypadShown = false;
    static inline QString KeypadParent;
};

TEST_F(KivoOnKWin, ClicksTypeIntoKWriteThroughTheInputMethod)
{
    ASSERT_NO_FATAL_FAILURE(Focus(Editor));
    // Native: an X11 kwrite would take KIVO's X11 keys and prove nothing of the input method.
    ASSERT_TRUE(RunCommand(QStringLiteral("xdotool"), { QStringLiteral("search"), QStringLiteral("--pid"), QString::number(Editor.Process->processId()) }).isEmpty());
    Keypad.Click(PolytonicLineClicks);
    // A named key goes as the input method's key event.
    Keypad.Click({ Enter });
    ExpectFocus(Editor);
    // After KIVO's letter, a click into the document or a key of the user's keyboard: the text
    // before the caret is no longer KIVO's to change, so the mark waits for the next letter.
    Keypad.Click({ A });
    ClickInside(KWinFrame(Editor.Process->processId()));
    Keypad.Click({ Acute, E, L });
    Keys({ "x" });
    Keypad.Click({ Acute, E });
    // Backspace after a mark takes the mark off: the precomposed letter becomes the bare one
    // again, with and without the iota subscript it keeps.
    Keypad.Click({ Space, A, Acute, Backspace, Space, V, IotaSubscript, Rough, Circumflex, Backspace });
    ExpectFocus(Editor);
    // kwrite ends the saved file with a line break.
    ExpectBytes(Editor.Saved(), (PolytonicLine + QStringLiteral("\nαέλxέ α ᾡ")).toUtf8() + '\n', "saved:");
}

TEST_F(KivoOnKWin, TheSameClicksTypeIntoAnXWaylandXtermThroughX11)
{
    ASSERT_NO_FATAL_FAILURE(Focus(Xterm));
    ExpectTheLineInAnXterm(Keypad, Xterm);
}

} // namespace
