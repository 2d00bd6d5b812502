#pragma once
// What the program's end-to-end tests share: commands run to their end, waiting, the X
// server's view of windows, and real clicks at the places where the main window shows its keys
// and accent buttons (from the keypad's own layout arithmetic).
#include <QDeadlineTimer>
#include <QMargins>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThread>

#include <memory>
#include <optional>
#include <string>
#include <vector>

inline const char* const MainTitle = "Lumera On-Screen Keyboard";
// With Unicode output the title speaks of KIVO.
inline const char* const UnicodeMainTitle = "KIVO Polytonic Greek Keyboard";

// Runs a command to its end and returns what it printed; empty if it failed.
QString RunCommand(const QString& Program, const QStringList& Arguments);

template <typename TCondition>
bool WaitFor(TCondition Condition, int Milliseconds = 5000)
{
    QDeadlineTimer Deadline(Milliseconds);
    while (!Condition()) {
        if (Deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

// The first visible window whose whole title is Title, as xdotool names it; empty if none.
QString FindWindow(const QString& Title);
// KIVO's main window, by the title of either output; empty if there is none.
QString FindKivoWindow();
QString FocusedWindow();
// The client area in root coordinates, as the X server has it.
QRect ClientBounds(const QString& Window);
// The window manager's frame around a window: left, top, right, bottom.
QMargins FrameExtents(const QString& Window);
QRect OuterBounds(const QString& Window);
QSize ScreenSize();

// Starts an xterm titled "kivo-target" that runs `stty STTY; cat > File` (in the UTF-8 locale
// when Utf8), and waits until it shows and the file exists; its X window id, empty on failure.
QString StartTargetTerminal(QProcess& Terminal, const QString& File, const QString& Stty, bool Utf8 = false);

QByteArray FileContents(const QString& Path);

// Activates Window and waits until it has the focus; true when it has.
bool Activate(const QString& Window);
// Ends a program the test started, if it runs, and forgets it; false if it did not end.
bool Stop(std::unique_ptr<QProcess>& Process);

// Starts KIVO with Arguments, in Environment with settings of its own in Settings (no
// remembered place or output; empty: the user's own), and waits until its main window shows
// where a first start puts it; the window's X id, empty on failure.
QString StartKivo(QProcess& Kivo, const QStringList& Arguments, const QString& Settings,
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment());

// Clicks at the pace of a quick hand, a tenth of a second apart.
void ClickAt(QPoint Point);

// Where the main window shows its keys, in root coordinates, for its client area.
struct TKeypadPoints {
    QRect Client;

    // A key of the keypad's grid, and a special key by its slot.
    QPoint Key(int Row, int Column) const;
    QPoint SpecialKey(int Slot) const;
    // Accent buttons in toolbar rows and columns from 0.
    QPoint Accent(int Row, int Column) const;
};

// Clicks on the main window (given by its X window id) as a user does.
struct TMainWindowClicks {
    QString MainWindow;

    void Key(int Row, int Column) const;
    QPoint KeyCentre(int Row, int Column) const;
    void SpecialKey(int Slot) const;
    void Accent(int Row, int Column) const;
};

// Clicks made by one persistent XTest client (ClickDriver), each paced on the arrival in File
// (beyond Offset) of every byte the clicks before it typed, a gap of MinimumGap to MaximumGap
// milliseconds after that arrival or after the previous release, whichever came later. An
// empty File paces on the release alone. Returns the driver's report ("clicks N expected E
// arrived A stalls S": a stall is a click whose bytes never came).
struct TPacedClick {
    QPoint At;
    int Bytes = 0; // what the click adds to File
};
// ImpatientHold: the driver sends each press and release without waiting for the server, the
// button held that many milliseconds (see ClickDriver); none: it waits for the server's every step.
QString RunPacedClicks(const std::vector<TPacedClick>& Clicks, const QString& File, qsizetype Offset, int MinimumGap, int MaximumGap,
    std::optional<int> ImpatientHold = std::nullopt);

// How a text that arrived differs from the one expected, after the closest alignment of the
// two: characters lost, characters extra, characters wrong and, of those, wrong in case only.
struct TTypingDifference {
    int Lost = 0;
    int Extra = 0;
    int Wrong = 0;
    int WrongCase = 0;
    bool Exact() const { return Lost == 0 && Extra == 0 && Wrong == 0; }
    std::string Summary() const;
};
TTypingDifference CompareTyped(const QString& Expected, const QString& Arrived);

// Loads a layout as setxkbmap does, "LAYOUT" or "LAYOUT:VARIANT"; true when it is loaded.
bool SetLayout(const QString& Layout);

// The server's keymap as xkbcomp writes it, and how many keys two such dumps give different
// symbols.
QString KeymapDump();
int KeysDiffering(const QString& Dump, const QString& Other);
