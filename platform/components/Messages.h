#pragma once
// Window messages a component passes straight to another control, and Perform, which delivers
// them. A message becomes the key events that Qt widgets understand, so a line edit or text edit
// that receives WM_CHAR inserts the character as if it had been typed into it.
#include "Classes.h"

#include <cstdint>

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;

// Delivers Msg to Control (to its focus proxy if it has one) and returns once it is handled:
// - WM_KEYDOWN / WM_KEYUP: WParam is a virtual-key code; a key press or release without text.
// - WM_CHAR: WParam is an 8-bit character code; a press and a release carrying the character.
//   Backspace (8) carries nothing, since WM_KEYDOWN 8 has already deleted; carriage return (13)
//   and tab (9) arrive as the Return and Tab keys.
// Returns 1 when the control accepted the key, 0 otherwise (also for a null control or another
// message). LParam is not used.
LRESULT Perform(TWinControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam);
