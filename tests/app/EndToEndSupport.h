#pragma once
// What the program's end-to-end tests share: commands run to their end, waiting, the X
// server's view of windows, the programs they type into, and real clicks at the places where
// the main window shows its keys and accent buttons (from the keypad's own layout arithmetic).
#include "KeypadClicks.h"
#include "Waiting.h"

#include <QMargins>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

inline const char* const MainTitle = "Lumera On-Screen Keyboard";
// With Unicode output the title speaks of KIVO.
inline const char* const UnicodeMainTitle = "KIVO Polytonic Greek Keyboard";

inline constexpr TClick Tab { TClick::Special, TabSlot, 0 }, Caps { TClick::Special, CapsSlot, 0 };

QString Xdotool(const QStringList& Arguments);

// The visible windows whose whole title is Title, as xdotool names them, and the first (or none).
QStringList FindWindows(const QString& Title);
QString FindWindow(const QString& Title);
QString FocusedWindow();
// The client area in root coordinates, as the X server has it.
QRect ClientBounds(const QString& Window);
// The window manager's frame around a window: left, top, right, bottom.
QMargins FrameExtents(const QString& Window);
QRect OuterBounds(const QString& Window);
QSize ScreenSize();
// Where a first start puts the main window: the screen's width, just above its bottom.
QRect FirstPlace();
// Waits until the window's frame has stood still for a moment; false if it kept moving.
bool WaitUntilStill(const QString& Window);


// Activates Window and waits until it has the focus; true when it has.
bool Activate(const QString& Window, int Milliseconds = 5000);
// Ends a program the test started, if it runs, and forgets it; false if it did not end.
bool Stop(std::unique_ptr<QProcess>& Process);

// Starts a new KIVO in Kivo (ending the one there) with Arguments, in Environment with settings
// of its own in Settings (no remembered place or output; empty: the user's own), and waits until
// its main window shows at Place; the window's X id, empty on failure.
QString StartKivo(std::unique_ptr<QProcess>& Kivo, const QStringList& Arguments, const QString& Settings,
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment(), std::optional<QRect> Place = std::nullopt);

// The focused target of most tests: an xterm titled "kivo-target" that runs `stty STTY; cat > File`
// (in the UTF-8 locale when Utf8). What a test typed is what the file gained since the last Mark().
class TTargetTerminal {
public:
    ~TTargetTerminal();
    // False when the terminal did not show, did not open its file or did not take the focus.
    bool Start(const QString& Stty, bool Utf8 = false);
    QByteArray Typed() const { return Contents(File).mid(Marked); }
    qsizetype Mark() { return Marked = Contents(File).size(); }
    // Waits until as much as Expected has arrived since the mark, a moment more for a surplus, and
    // checks it came exactly and the focus stayed on the terminal; then marks.
    void ExpectTyped(const QByteArray& Expected);

    QTemporaryDir Directory;
    QString File;
    QString Window;

private:
    QProcess Process;
    qsizetype Marked = 0;
};

// The fixture of most end-to-end tests: a target terminal kept for the whole suite, and KIVO,
// which must end when asked to.
class TKivoTest : public testing::Test {
protected:
    static void StartTarget(const QString& Stty, bool Utf8 = false)
    {
        Target = std::make_unique<TTargetTerminal>();
        ASSERT_TRUE(Target->Start(Stty, Utf8));
    }

    static void TearDownTestSuite()
    {
        EXPECT_TRUE(Stop(Kivo));
        Target.reset();
    }

    static inline std::unique_ptr<TTargetTerminal> Target;
    static inline std::unique_ptr<QProcess> Kivo;
    static inline QString MainWindow;
};

// An editor started on an empty file of its own and given the focus, whose text is seen only once
// it saves.
class TEditor {
public:
    ~TEditor();
    // False when the editor did not show or did not take the focus.
    bool Start(const QString& Program, const QStringList& Arguments, const QString& Saved);
    // Saves with the editor's shortcut; what it saved, less the line break it ends the file with.
    QString Save() const;

    QString Window;

private:
    QProcess Process;
    QString File;
};

// Clicks at the pace of a quick hand, a tenth of a second apart.
void ClickAt(QPoint Point);
// Clicks keys and buttons of the main window (given by its X window id) as a user does.
void ClickKeys(const QString& MainWindow, const std::vector<TClick>& Clicks);

// Clicks made by one persistent XTest client, ClickDriver, which says how it paces them on what
// arrives in File beyond Offset (an empty File: on the release alone) and what ImpatientHold
// does; its report of what arrived and what stalled.
struct TPacedClick {
    QPoint At;
    int Bytes = 0; // what the click adds to File
};
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
