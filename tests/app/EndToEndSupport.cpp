#include "EndToEndSupport.h"

#include "KeyLayout.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

QString RunCommand(const QString& Program, const QStringList& Arguments)
{
    QProcess Process;
    Process.start(Program, Arguments);
    if (!Process.waitForFinished(10000) || Process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(Process.readAllStandardOutput()).trimmed();
}

QString FindWindow(const QString& Title)
{
    return RunCommand(QStringLiteral("xdotool"), { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                              QStringLiteral("^") + QRegularExpression::escape(Title) + QStringLiteral("$") })
        .section(QLatin1Char('\n'), 0, 0);
}

QString FocusedWindow() { return RunCommand(QStringLiteral("xdotool"), { QStringLiteral("getwindowfocus") }); }

QRect ClientBounds(const QString& Window)
{
    const QString Info = RunCommand(QStringLiteral("xwininfo"), { QStringLiteral("-id"), Window });
    auto Field = [&](const char* Name) {
        const QRegularExpression Pattern(QString::fromLatin1(Name) + QStringLiteral(":\\s+(-?\\d+)"));
        return Pattern.match(Info).captured(1).toInt();
    };
    return QRect(Field("Absolute upper-left X"), Field("Absolute upper-left Y"), Field("Width"), Field("Height"));
}

QMargins FrameExtents(const QString& Window)
{
    const QString Extents = RunCommand(QStringLiteral("xprop"), { QStringLiteral("-id"), Window, QStringLiteral("_NET_FRAME_EXTENTS") });
    const QStringList Numbers = Extents.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    if (Numbers.size() != 4)
        return {};
    return QMargins(Numbers[0].trimmed().toInt(), Numbers[2].trimmed().toInt(), Numbers[1].trimmed().toInt(),
        Numbers[3].trimmed().toInt());
}

QRect OuterBounds(const QString& Window) { return ClientBounds(Window).marginsAdded(FrameExtents(Window)); }

QSize ScreenSize()
{
    const QString Info = RunCommand(QStringLiteral("xwininfo"), { QStringLiteral("-root") });
    const QRegularExpression Width(QStringLiteral("Width:\\s+(\\d+)")), Height(QStringLiteral("Height:\\s+(\\d+)"));
    return QSize(Width.match(Info).captured(1).toInt(), Height.match(Info).captured(1).toInt());
}

QString StartTargetTerminal(QProcess& Terminal, const QString& File, const QString& Stty, bool Utf8)
{
    if (Utf8) {
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        Terminal.setProcessEnvironment(Environment);
    }
    QStringList Arguments { QStringLiteral("-T"), QStringLiteral("kivo-target"), QStringLiteral("-geometry"), QStringLiteral("80x10+0+0"),
        QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("stty %1; exec cat > '%2'").arg(Stty, File) };
    if (Utf8)
        Arguments.prepend(QStringLiteral("-u8"));
    Terminal.start(QStringLiteral("xterm"), Arguments);
    QString Window;
    if (!WaitFor([&] { return !(Window = FindWindow(QStringLiteral("kivo-target"))).isEmpty(); }, 10000)
        || !WaitFor([&] { return QFile::exists(File); }))
        return {};
    return Window;
}

void ClickAt(QPoint Point)
{
    RunCommand(QStringLiteral("xdotool"), { QStringLiteral("mousemove"), QString::number(Point.x()), QString::number(Point.y()),
                                       QStringLiteral("click"), QStringLiteral("1") });
    QThread::msleep(100);
}

namespace {

// The keypad fills the client area below the 30-pixel banner row, left of the toolbar.
TKeyMetrics KeypadMetrics(const QString& MainWindow, QRect& Keypad)
{
    const QRect Client = ClientBounds(MainWindow);
    Keypad = QRect(Client.left(), Client.top() + 30, Client.width() - 127, Client.height() - 30);
    return ComputeKeyMetrics(kbmAlphaNumeric, TLayoutFrame { Keypad.width(), Keypad.height(), 1, 0 });
}

QPoint Centre(const QRect& Keypad, const TKeyBounds& Key)
{
    return Keypad.topLeft() + QPoint(Key.Left + Key.Width / 2, Key.Top + Key.Height / 2);
}

} // namespace

QPoint TMainWindowClicks::KeyCentre(int Row, int Column) const
{
    QRect Keypad;
    const TKeyMetrics Metrics = KeypadMetrics(MainWindow, Keypad);
    return Centre(Keypad, AlphaNumericGridKeyBounds(Metrics, Row, Column));
}

void TMainWindowClicks::Key(int Row, int Column) const { ClickAt(KeyCentre(Row, Column)); }

void TMainWindowClicks::SpecialKey(int Slot) const
{
    QRect Keypad;
    const TKeyMetrics Metrics = KeypadMetrics(MainWindow, Keypad);
    ClickAt(Centre(Keypad, AlphaNumericSpecialKeyBounds(Metrics, Slot)));
}

// Accent buttons sit in cells of 31 by 40 from (3, 2) of the toolbar, four to a row.
void TMainWindowClicks::Accent(int Row, int Column) const
{
    const QRect Client = ClientBounds(MainWindow);
    const QPoint ToolBar(Client.right() + 1 - 127, Client.top());
    ClickAt(ToolBar + QPoint(3 + Column * 31 + 15, 2 + Row * 40 + 20));
}
