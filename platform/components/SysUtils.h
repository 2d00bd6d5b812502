#pragma once
// The few runtime-library helpers the components use.
#include <exception>
#include <functional>
#include <string>

// The system's short default sound.
void Beep();
// Replaces what Beep does (a test records it); an empty sink restores the system sound.
void SetBeepSink(std::function<void()> Sink);

// Where an exception that escapes an event handler ends: Qt's event dispatch cannot carry it,
// so the control that ran the handler passes it here. By default the application object shows
// it (stderr when there is none); a test installs a handler of its own.
void HandleException(std::exception_ptr Error);
void SetExceptionHandler(std::function<void(std::exception_ptr)> Handler);
