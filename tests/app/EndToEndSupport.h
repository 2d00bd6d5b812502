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

// Clicks at the pace of a quick hand, a tenth of a second apart.
void ClickAt(QPoint Point);

// Clicks on the main window (given by its X window id) as a user does.
struct TMainWindowClicks {
    QString MainWindow;

    void Key(int Row, int Column) const;
    // The centre of a key of the keypad's grid, in root coordinates.
    QPoint KeyCentre(int Row, int Column) const;
    void SpecialKey(int Slot) const;
    // Accent buttons in toolbar rows and columns from 0.
    void Accent(int Row, int Column) const;
};
