#pragma once
// Keeps the main window's composer told of input that reaches other programs, so that a mark
// is composed with the letter before it only while that letter is surely still there, and
// reads the desktop observer's reports in the event loop.
#include <QObject>

#include <memory>

class TDesktopObserver;
class TForm1;

// Watches Observer for Form; Observer must outlive what this returns. Where the platform cannot
// tell outside input, Form never replaces what it typed and types every mark as a combining
// mark (said once on stderr).
std::unique_ptr<QObject> WatchOutsideInput(TForm1* Form, TDesktopObserver& Observer);
