#pragma once
// The real input backend: XTest for key events, XKB for the layout, on a display connection of
// its own. No X11 header leaks from here: callers (the program's main, which also runs Qt) see
// only the backend interface.
#include "InputBackend.h"
#include "X11DesktopObserver.h"

#include <memory>
#include <string>

// Opens the display named by $DISPLAY. On failure returns null and sets ErrorMessage to one
// line for the user ("cannot open display ...", "the X server ... has no XTest extension").
// Keys that a killed KIVO left held down on the XTest keyboard, and spare keys it left mapped,
// are put right here. Destroying the backend releases every key it holds and gives its spare
// keys back. Every key press it sends is counted in OwnKeys when one is given (see
// CreateX11DesktopObserver).
std::unique_ptr<TInputBackend> CreateX11InputBackend(std::string& ErrorMessage, std::shared_ptr<TOwnKeys> OwnKeys = nullptr);
