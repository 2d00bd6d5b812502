#pragma once
// What Windows answers for the US keyboard layout (code page 1252): the recording backend's
// VkKeyScanA and MapVirtualKeyA, so that tests see the values a real program would get.
#include "WinTypes.h"

// Low byte the virtual key, high byte the shift state (bit 0 Shift, bit 1 Control, bit 2 Alt);
// -1 for a character that no key of the layout types.
SHORT UsLayoutVkKeyScan(BYTE Character);

// The set-1 scan code of a virtual key (map type 0); 0 for a virtual key with no key.
UINT UsLayoutScanCode(UINT VirtualKey);
