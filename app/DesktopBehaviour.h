#pragma once
// What the main window adds as a desktop program kept open all day: it remembers where the user
// put it, has "Reset position" in its right-click menu, names marks and special keys in
// tooltips, fits its banner row to narrow screens, and lets a held Backspace repeat at the
// desktop's own rate.
#include "ClickTiming.h"

#include <QString>

#include <functional>
#include <optional>

class TForm1;
class TWindowPlace;

// Where the main window's place is stored (QSettings).
inline const QString MainWindowPlaceKey = QStringLiteral("MainWindow/Bounds");

// Call after the window is built and has placed itself, before it is shown. KeyRepeat gives
// the desktop's repeat timing at the moment Backspace is pressed (nothing: no repeat).
// Returns the window's place keeper, owned by the window.
TWindowPlace* AddDesktopBehaviour(TForm1& Form, std::function<std::optional<TRepeatTiming>()> KeyRepeat);
