#pragma once
// The real keystroke sink and window finder: XTest for key events, XKB for the layout, on a
// display connection of its own. No X11 header leaks from here: callers (the program's main,
// which also runs Qt) see only the backend interface.
#include "InputBackend.h"

#include <memory>
#include <string>

// Opens the display named by $DISPLAY. On failure returns null and sets ErrorMessage to one
// line for the user ("cannot open display ...", "the X server ... has no XTest extension").
// Call it before any other thread exists: it takes over SIGINT, SIGTERM and SIGHUP so that no
// key stays held when the program is ended by them.
std::unique_ptr<TInputBackend> CreateX11InputBackend(std::string& ErrorMessage);
