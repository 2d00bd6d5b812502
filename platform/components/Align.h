#pragma once
// Alignment of controls inside their parent, as the window descriptions lay them out.
#include <QWidget>

#include <cstdint>

// How a control follows its parent's size. Controls are aligned in creation order: all top
// ones from the top down, bottom ones from the bottom up, then left, right, and a client one
// fills what is left.
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The dynamic property that holds a control's alignment: a name ("alTop") as a window
// description stores it, a number once applied.
inline constexpr const char* AlignProperty = "Align";

TAlign AlignOf(const QWidget* Control);
// Stores the alignment and realigns the parent's controls.
void SetAlign(QWidget* Control, TAlign Align);
// Places the aligned children of Parent inside its client area; called on every resize.
void AlignControls(QWidget* Parent);
// Makes Parent realign its children whenever its size changes.
void WatchForAlignment(QWidget* Parent);
