#pragma once
// Tooltips that name what a key or an accent button types where its caption alone does not
// say it: the marks of the keypad font in words ("rough breathing and acute"), and the special
// keys. A key's tooltip follows its caption, which changes with Shift and Caps.
#include <QString>

#include <string>

class TKeyboard;
class TSpeedButton;
class QWidget;

// The marks that the keypad font draws for Code, in words, first letter capital; empty for a
// code that draws no mark.
QString MarkNames(char Code);

// The tooltip of a keypad key as its caption stands now; empty where the key needs none.
QString KeyToolTip(const TKeyboard& Keyboard, const TSpeedButton& Key);

// Shows KeyToolTip for the key under the pointer of Keyboard.
void InstallKeyToolTips(TKeyboard& Keyboard);
