// KIVO's IBus engine on headless gnome-shell (run through scripts/with-wayland gnome). The
// engine is installed (its component file in ibus's folder, in the bed's private mount
// namespace), added as an input source through gsettings as a user's Settings does (ibus-daemon
// then starts KIVO for it), and chosen with Super+Space. The keypad's keys are clicked with the
// seat's real pointer: they type into gnome-text-editor (GTK 4, native Wayland), whose saved
// file must hold exactly the NFC bytes, and into an XWayland xterm (no IBus there: KIVO's X11
// path). The target keeps the focus, and the bed's keyboard types per its layout meanwhile.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>

#include <gtest/gtest.h>

#include "DesktopScenario.h"

namespace {

const QString Directory = QStringLiteral("/tmp/kivo-gnome-test");
const QString User = qEnvironmentVariable("KIVO_WL_USER");
const QString UserHome = qEnvironmentVariable("KIVO_WL_BASE") + QStringLiteral("/home");

// A command as the desktop's user, in its session (ibus-daemon and KIVO run as that user).
QString AsUser(const QStringList& Command)
{
    QStringList Arguments { QStringLiteral("-u"), User, QStringLiteral("--"), QStringLiteral("env"),
        QStringLiteral("HOME=") + UserHome, QStringLiteral("XDG_RUNTIME_DIR=") + qEnvironmentVariable("KIVO_WL_BASE") + QStringLiteral("/run-user") };
    for (const char* Name : { "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "DISPLAY", "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP" })
        Arguments << QString::fromLatin1(Name) + QLatin1Char('=') + qEnvironmentVariable(Name);
    return RunCommand(QStringLiteral("runuser"), Arguments + Command);
}

// gnome-shell's answer to JavaScript, unwrapped from (true, '"..."').
QString ShellEval(const QString& Code)
{
    const QString Reply = RunCommand(QStringLiteral("gdbus"), { QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
        QStringLiteral("org.gnome.Shell"), QStringLiteral("--object-path"), QStringLiteral("/org/gnome/Shell"), QStringLiteral("--method"),
        QStringLiteral("org.gnome.Shell.Eval"), Code });
    const QRegularExpressionMatch Match = QRegularExpression(QStringLiteral("^\\(true, '\"?(.*?)\"?'\\)$")).match(Reply);
    return Match.hasMatch() ? Match.captured(1) : QString();
}

// On gnome-shell 43 under load, the first clicks on the keypad after the editor took the focus
// were lost in some runs (KIVO never saw them; the engine then had a focus-out and focus-in): a
// click on the keypad's banner, which types nothing, comes first.
const TKeypadOnScreen Keypad { .Area = XKeypadArea, .Pace = 150,
    .BeforeClicks = [](const QRect& Client) { SeatClick(QPoint(Client.center().x(), Client.top() + 15), 1000); } };

class KivoOnGnome : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QDir().mkpath(Directory);
        // The targets' settings and drafts start empty.
        qputenv("HOME", (Directory + QStringLiteral("/root-home")).toUtf8());
        RunCommand(QStringLiteral("chmod"), { QStringLiteral("1777"), Directory });
        InstallEngine();
        // KIVO's settings as a user left them: Unicode output.
        QSettings Settings(UserHome + QStringLiteral("/.config/kivo/kivo.conf"), QSettings::IniFormat);
        Settings.setValue(QStringLiteral("output"), QStringLiteral("unicode"));
        Settings.sync();
        RunCommand(QStringLiteral("chown"), { QStringLiteral("-R"), User, UserHome + QStringLiteral("/.config") });

        // Settings, Keyboard, Input Sources, +: what it writes.
        AsUser({ QStringLiteral("gsettings"), QStringLiteral("set"), QStringLiteral("org.gnome.desktop.input-sources"), QStringLiteral("sources"),
            QStringLiteral("[('xkb', 'us'), ('ibus', 'kivo')]") });
        SourceListed = WaitFor([] { return ShellEval(QStringLiteral(
            "Object.values(imports.ui.status.keyboard.getInputSourceManager().inputSources).map(s => s.id).join(' ')")).contains(QStringLiteral("kivo")); });

        Xterm.StartXterm();
        Editor.Start(QStringLiteral("gnome-text-editor"), { QStringLiteral("--standalone"), Editor.File });

        // Super+Space makes the next source (KIVO's) the input source; ibus-daemon has started
        // KIVO for it already (gnome-shell preloads the engines of the sources).
        Chord("Super_L", "space");
        EngineChosen = WaitFor([] { return AsUser({ QStringLiteral("ibus"), QStringLiteral("engine") }) == QStringLiteral("kivo"); });
        KeypadShown = WaitFor([] { return XKeypadArea().isValid(); }, 30000);
        QThread::msleep(1000);
    }

    static void TearDownTestSuite()
    {
        End(*Editor.Process);
        End(*Xterm.Process);
    }

    // The component file where ibus-daemon looks, beside the ones the system has (a bind mount
    // that only this namespace sees), and the daemon restarted to read it, as after installing.
    static void InstallEngine()
    {
        const QString Components = Directory + QStringLiteral("/component");
        QDir().mkpath(Components);
        for (const QString& Name : QDir(QStringLiteral("/usr/share/ibus/component")).entryList(QDir::Files))
            QFile::copy(QStringLiteral("/usr/share/ibus/component/") + Name, Components + QLatin1Char('/') + Name);
        QFile::copy(QStringLiteral(KIVO_TEST_COMPONENT), Components + QStringLiteral("/kivo.xml"));
        RunCommand(QStringLiteral("mount"), { QStringLiteral("--bind"), Components, QStringLiteral("/usr/share/ibus/component") });
        // KIVO_IBUS_DEBUG reaches the KIVO that ibus-daemon starts (its log goes to the shell's).
        if (qEnvironmentVariableIsSet("KIVO_IBUS_DEBUG"))
            ShellEval(QStringLiteral("GLib.setenv('KIVO_IBUS_DEBUG', '%1', true); 1").arg(qEnvironmentVariable("KIVO_IBUS_DEBUG")));
        ShellEval(QStringLiteral("imports.misc.ibusManager.getIBusManager().restartDaemon(); 1"));
        EngineInstalled = WaitFor([] { return AsUser({ QStringLiteral("ibus"), QStringLiteral("list-engine") }).contains(QStringLiteral("kivo")); }, 30000);
    }

    void SetUp() override
    {
        ASSERT_TRUE(EngineInstalled) << "ibus-daemon does not list the engine kivo";
        ASSERT_TRUE(SourceListed) << "gnome-shell did not take KIVO as an input source";
        ASSERT_TRUE(EngineChosen) << "Super+Space did not make KIVO's engine the input source";
        ASSERT_TRUE(KeypadShown) << "no KIVO keypad after choosing the engine";
    }

    // As a click on its entry in the overview would.
    static void Focus(const TTarget& Target)
    {
        ShellEval(QStringLiteral("global.get_window_actors().map(a => a.meta_window).find(w => w.get_title().includes('%1'))"
                                 ".activate(global.get_current_time()); 1").arg(Target.Title));
        WaitFor([&] { return Target.HasFocus(); });
        QThread::msleep(500);
    }

    static inline TTarget Editor { .Title = QStringLiteral("Text Editor"),
        .File = QStringLiteral("/tmp/kivo-gnome-test/editor.txt") };
    static inline TTarget Xterm { .Title = QStringLiteral("kivo-xterm"),
        .File = QStringLiteral("/tmp/kivo-gnome-test/xterm-typed") };
    static inline bool EngineInstalled = false, SourceListed = false, EngineChosen = false, KeypadShown = false;
};

// One editor session: the line, a key of the user's own keyboard, and a mark taken off.
TEST_F(KivoOnGnome, ClicksTypeIntoGnomeTextEditorThroughTheEngineAndTheKeyboardKeepsItsLayout)
{
    Focus(Editor);
    Keypad.Click(PolytonicLineClicks);
    ExpectFocus(Editor);
    // While the engine is the input source, the keyboard's keys reach the program untouched,
    // by the "us" layout (the key beside the left Shift is "<"; KIVO would type no such thing).
    Keys({ "space", "less", "semicolon", "space" });
    // A key typed after KIVO's letter shows in the text the editor reports: the mark then waits
    // for the next letter, and nothing of the user's is erased.
    Keypad.Click({ L });
    Keys({ "x" });
    Keypad.Click({ Acute, E, Space });
    // Backspace after a mark takes the mark off: one code point, the precomposed letter's.
    Keypad.Click({ A, Acute, Backspace, Space, V, IotaSubscript, Rough, Circumflex, Backspace });
    ExpectFocus(Editor);
    ExpectBytes(Editor.Saved(), (PolytonicLine + QStringLiteral(" <; λxέ α ᾡ")).toUtf8() + '\n', "saved:");
}

TEST_F(KivoOnGnome, TheSameClicksTypeIntoAnXWaylandXtermThroughX11)
{
    Focus(Xterm);
    ExpectTheLineInAnXterm(Keypad, Xterm);
}

} // namespace
