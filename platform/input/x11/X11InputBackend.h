#pragma once
// The real input backend: XTest for key events, XKB for the layout, on a display connection of
// its own. No X11 header leaks from here: callers (the program's main, which also runs Qt) see
// only the backend interface.
#include "InputBackend.h"
#include "UserText.h"
#include "X11DesktopObserver.h"

#include <functional>
#include <memory>
#include <string>

// Runs Work after Milliseconds on the caller's event loop.
using TX11Scheduler = std::function<void(int Milliseconds, std::function<void()> Work)>;

// Opens the display named by $DISPLAY. On failure returns null and sets ErrorMessage to one
// line for the user ("cannot open display %1 ...", "the X server %1 has no XTest extension").
// Keys that a killed KIVO left held down on the XTest keyboard, and spare keys it left mapped,
// are put right here. Destroying the backend releases every key it holds and gives its spare
// keys back. Every key press it sends is counted in OwnKeys when one is given (see
// CreateX11DesktopObserver). With Later, work that must wait (a spare key resting, another
// KIVO holding the keyboard, a window taking the focus, the pause after a BackSpace) is queued
// and done through it, in order, and the calls return at once; without, they wait themselves.
std::unique_ptr<TInputBackend> CreateX11InputBackend(
    TUserText& ErrorMessage, std::shared_ptr<TOwnKeys> OwnKeys = nullptr, TX11Scheduler Later = nullptr);
