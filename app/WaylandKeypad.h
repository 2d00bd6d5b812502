#pragma once
// The main window on a wlroots desktop: a layer surface of the bottom edge, full width where
// the window is, with an exclusive zone so that tiled windows make room, and no keyboard focus
// ever. The user moves it by dragging its background and resizes it by dragging its edges;
// the place is remembered as on X11 (the window's own geometry stays the truth, the surface's
// margins follow it). Tooltips and menus become layer surfaces above it.
//
// What KIVO sees of the desktop here, for the composer (which must never erase what KIVO did
// not type): the pointer leaving the keypad, and another window becoming the active one.
#include <QObject>

#include <memory>

class TForm1;
class TWlrInputBackend;

// Call after the window is built, its place restored, and its desktop behaviour added; before
// it is shown. Returns what must live as long as the window is on screen.
std::unique_ptr<QObject> AttachWaylandKeypad(TForm1* Form, TWlrInputBackend& Backend);
