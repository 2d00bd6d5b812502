#include "EndToEndSupport.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <algorithm>

QString Xdotool(const QStringList& Arguments) { return RunCommand(QStringLiteral("xdotool"), Arguments); }

QStringList FindWindows(const QString& Title)
{
    const QString Pattern = QStringLiteral("^") + QRegularExpression::escape(Title) + QStringLiteral("$");
    return Xdotool({ QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), Pattern })
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString FindWindow(const QString& Title) { return FindWindows(Title).value(0); }

static QStringList KivoWindows()
{
    return FindWindows(QString::fromLatin1(UnicodeMainTitle)) + FindWindows(QString::fromLatin1(MainTitle));
}

QString FocusedWindow() { return Xdotool({ QStringLiteral("getwindowfocus") }); }

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

QRect FirstPlace()
{
    const QSize Screen = ScreenSize();
    return QRect(0, Screen.height() - 230, Screen.width(), 202);
}

bool WaitUntilStill(const QString& Window)
{
    QRect Last;
    return WaitFor([&] {
        const QRect Now = OuterBounds(Window);
        const bool Still = Now == Last;
        Last = Now;
        QThread::msleep(300);
        return Still;
    }, 10000);
}

bool Activate(const QString& Window, int Milliseconds)
{
    Xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), Window });
    return WaitFor([&] { return FocusedWindow() == Window; }, Milliseconds);
}

bool Stop(std::unique_ptr<QProcess>& Process)
{
    if (!Process)
        return true;
    Process->terminate();
    const bool Ended = Process->waitForFinished(5000);
    Process.reset();
    return Ended;
}

QString StartKivo(std::unique_ptr<QProcess>& Kivo, const QStringList& Arguments, const QString& Settings,
    QProcessEnvironment Environment, std::optional<QRect> Place)
{
    Stop(Kivo);
    Kivo = std::make_unique<QProcess>();
    if (!Settings.isEmpty())
        Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Settings);
    Kivo->setProcessEnvironment(Environment);
    Kivo->setProcessChannelMode(QProcess::ForwardedChannels);
    // Its window is the one that was not there before: other KIVOs may be running.
    const QStringList Before = KivoWindows();
    Kivo->start(QStringLiteral(KIVO_PROGRAM), Arguments);
    if (!Kivo->waitForStarted(10000))
        return {};
    QString Window;
    auto Shown = [&] {
        for (const QString& Each : KivoWindows())
            if (!Before.contains(Each))
                Window = Each;
        return !Window.isEmpty();
    };
    if (!WaitFor(Shown, 15000))
        return {};
    const QRect Wanted = Place.value_or(FirstPlace());
    if (WaitFor([&] { return OuterBounds(Window) == Wanted; }, 10000))
        return Window;
    QString Text;
    QDebug(&Text) << "the main window is at" << OuterBounds(Window) << "not at" << Wanted;
    ADD_FAILURE() << Text.toStdString();
    return {};
}

static void End(QProcess& Process)
{
    Process.terminate();
    Process.waitForFinished(3000);
}

TTargetTerminal::~TTargetTerminal() { End(Process); }

bool TTargetTerminal::Start(const QString& Stty, bool Utf8)
{
    File = Directory.filePath(QStringLiteral("typed"));
    if (Utf8) {
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        Process.setProcessEnvironment(Environment);
    }
    QStringList Arguments { QStringLiteral("-T"), QStringLiteral("kivo-target"), QStringLiteral("-geometry"), QStringLiteral("80x10+0+0"),
        QStringLiteral("-e"), QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("stty %1; exec cat > '%2'").arg(Stty, File) };
    if (Utf8)
        Arguments.prepend(QStringLiteral("-u8"));
    Process.start(QStringLiteral("xterm"), Arguments);
    return WaitFor([&] { return !(Window = FindWindow(QStringLiteral("kivo-target"))).isEmpty(); })
        && WaitFor([&] { return QFile::exists(File); }) && Activate(Window);
}

void TTargetTerminal::ExpectTyped(const QByteArray& Expected)
{
    WaitFor([&] { return Typed().size() >= Expected.size(); });
    QThread::msleep(100);
    EXPECT_EQ(Typed().toHex(' ').toStdString(), Expected.toHex(' ').toStdString()) << "typed \"" << Typed().toStdString() << "\"";
    EXPECT_EQ(FocusedWindow(), Window);
    Mark();
}

TEditor::~TEditor() { End(Process); }

bool TEditor::Start(const QString& Program, const QStringList& Arguments, const QString& Saved)
{
    File = Saved;
    QFile(File).open(QIODevice::WriteOnly);
    Process.start(Program, Arguments + QStringList { File });
    // Its first visible window; xdotool waits for it, RunCommand ten seconds at most.
    Window = Xdotool({ QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                         QString::number(Process.processId()) })
                 .section(QLatin1Char('\n'), 0, 0);
    return !Window.isEmpty() && Activate(Window);
}

QString TEditor::Save() const
{
    Xdotool({ QStringLiteral("key"), QStringLiteral("ctrl+s") });
    WaitFor([&] { return QFileInfo(File).size() > 0; }, 10000);
    const QString Text = QString::fromUtf8(Contents(File));
    return Text.endsWith(QLatin1Char('\n')) ? Text.chopped(1) : Text;
}

void ClickAt(QPoint Point)
{
    Xdotool({ QStringLiteral("mousemove"), QString::number(Point.x()), QString::number(Point.y()), QStringLiteral("click"),
        QStringLiteral("1") });
    QThread::msleep(100);
}

void ClickKeys(const QString& MainWindow, const std::vector<TClick>& Clicks)
{
    for (const TClick& Each : Clicks)
        ClickAt(KeypadPoint(ClientBounds(MainWindow), Each));
}

QString RunPacedClicks(const std::vector<TPacedClick>& Clicks, const QString& File, qsizetype Offset, int MinimumGap, int MaximumGap,
    std::optional<int> ImpatientHold)
{
    QByteArray Script;
    for (const TPacedClick& Click : Clicks)
        Script += QByteArray::number(Click.At.x()) + ' ' + QByteArray::number(Click.At.y()) + ' ' + QByteArray::number(Click.Bytes) + '\n';
    QProcess Driver;
    Driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList Arguments { File.isEmpty() ? QStringLiteral("-") : File, QString::number(Offset), QString::number(MinimumGap), QString::number(MaximumGap) };
    if (ImpatientHold)
        Arguments << QString::number(*ImpatientHold);
    Driver.start(QStringLiteral(CLICK_DRIVER), Arguments);
    Driver.write(Script);
    Driver.closeWriteChannel();
    // Generous: a loaded machine slows every click, and a click that stalls costs two seconds.
    if (!Driver.waitForFinished(int(Clicks.size()) * 3000 + 30000))
        Driver.kill();
    return QString::fromLatin1(Driver.readAllStandardOutput()).trimmed();
}

std::string TTypingDifference::Summary() const
{
    return std::to_string(Lost) + " lost, " + std::to_string(Extra) + " extra, " + std::to_string(Wrong) + " wrong ("
        + std::to_string(WrongCase) + " in case only)";
}

TTypingDifference CompareTyped(const QString& Expected, const QString& Arrived)
{
    // Edit distance in which a change of case costs less than any other change, so that a
    // lost Shift shows as a letter in the wrong case rather than as one lost and one extra.
    const auto Rows = std::size_t(Expected.size()) + 1, Columns = std::size_t(Arrived.size()) + 1;
    auto Change = [&](std::size_t Row, std::size_t Column) {
        const QChar Want = Expected[qsizetype(Row)], Got = Arrived[qsizetype(Column)];
        return Want == Got ? 0 : Want.toCaseFolded() == Got.toCaseFolded() ? 1 : 3;
    };
    std::vector<int> Cost(Rows * Columns);
    auto At = [&](std::size_t Row, std::size_t Column) -> int& { return Cost[Row * Columns + Column]; };
    for (std::size_t Row = 0; Row < Rows; ++Row)
        for (std::size_t Column = 0; Column < Columns; ++Column)
            At(Row, Column) = Row == 0 || Column == 0
                ? 2 * int(Row + Column)
                : std::min({ At(Row - 1, Column) + 2, At(Row, Column - 1) + 2, At(Row - 1, Column - 1) + Change(Row - 1, Column - 1) });
    TTypingDifference Difference;
    std::size_t Row = Rows - 1, Column = Columns - 1;
    while (Row > 0 || Column > 0) {
        if (Row > 0 && Column > 0 && At(Row, Column) == At(Row - 1, Column - 1) + Change(Row - 1, Column - 1)) {
            const int Step = Change(Row - 1, Column - 1);
            Difference.Wrong += Step != 0;
            Difference.WrongCase += Step == 1;
            --Row;
            --Column;
        } else if (Row > 0 && At(Row, Column) == At(Row - 1, Column) + 2) {
            ++Difference.Lost;
            --Row;
        } else {
            ++Difference.Extra;
            --Column;
        }
    }
    return Difference;
}

bool SetLayout(const QString& Layout)
{
    QStringList Arguments { QStringLiteral("-layout"), Layout.section(QLatin1Char(':'), 0, 0) };
    if (Layout.contains(QLatin1Char(':')))
        Arguments << QStringLiteral("-variant") << Layout.section(QLatin1Char(':'), 1);
    QProcess Process;
    Process.start(QStringLiteral("setxkbmap"), Arguments);
    return Process.waitForFinished(30000) && Process.exitStatus() == QProcess::NormalExit && Process.exitCode() == 0;
}

QString KeymapDump()
{
    return RunCommand(QStringLiteral("xkbcomp"), { QStringLiteral("-xkb"), qEnvironmentVariable("DISPLAY"), QStringLiteral("-") });
}

int KeysDiffering(const QString& Dump, const QString& Other)
{
    // One entry per key of the symbols section: "key <NAME> { ... };", possibly over lines.
    auto Keys = [](const QString& Text) {
        QMap<QString, QString> Found;
        static const QRegularExpression Key(QStringLiteral("key\\s+<([^>]+)>\\s*\\{([^}]*)\\};"));
        for (auto Match = Key.globalMatch(Text.section(QStringLiteral("xkb_symbols"), 1)); Match.hasNext();) {
            const auto Each = Match.next();
            Found[Each.captured(1)] = Each.captured(2).simplified();
        }
        return Found;
    };
    const auto Mine = Keys(Dump), Theirs = Keys(Other);
    QStringList Names = Mine.keys() + Theirs.keys();
    Names.removeDuplicates();
    return int(std::count_if(Names.begin(), Names.end(), [&](const QString& Name) { return Mine.value(Name) != Theirs.value(Name); }));
}
