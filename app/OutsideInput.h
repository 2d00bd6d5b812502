#pragma once
// Keeps the main window's composer told of input that reaches other programs, so that a mark
// is composed with the letter before it only while that letter is surely still there.
#include <QObject>

#include <memory>

class TForm1;

// Watches the X server for Form. Null when outside input cannot be watched (no XInput 2):
// Form then never replaces what it typed and types every mark as a combining mark.
std::unique_ptr<QObject> WatchOutsideInput(TForm1* Form);
