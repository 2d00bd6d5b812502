#pragma once
// The main window and KIVO as KWin's input method: the input method's connection is read from
// the event loop, and the composer forgets what it typed when the program's text moves on
// without KIVO.
#include <QObject>

#include <memory>

class TForm1;

// Null when KIVO is not KWin's input method.
std::unique_ptr<QObject> AttachKWinInputMethod(TForm1* Form);
