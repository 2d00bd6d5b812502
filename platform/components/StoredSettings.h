#pragma once
// The settings of a window description that Qt's own properties cannot carry: uic stores
// them as dynamic properties on each widget (fonts as face and character height, panel
// bevels and borders, alignment), and these functions apply them.
#include "TColor.h"

#include <QVariant>
#include <QWidget>

// A colour as a window description stores it: a number (0x00BBGGRR or a system colour) or
// the name of a named one ("clNavy"). False, with a warning, for anything else.
bool ReadStoredColor(const QVariant& Value, TColor& Result);

// Applies the stored settings of Control and, depth first, of its children, then aligns them.
void LoadStoredSettings(QWidget* Control);
