#include "NamedKeys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

// In the order of TNamedKey.
constexpr TLinuxKey LinuxKeys[nkNamedKeyCount] = {
    { XKB_KEY_BackSpace, 14 }, { XKB_KEY_Tab, 15 }, { XKB_KEY_Return, 28 }, { XKB_KEY_Escape, 1 },
    { XKB_KEY_space, 57 }, { XKB_KEY_Delete, 111 }, { XKB_KEY_Insert, 110 },
    { XKB_KEY_Home, 102 }, { XKB_KEY_End, 107 }, { XKB_KEY_Page_Up, 104 }, { XKB_KEY_Page_Down, 109 },
    { XKB_KEY_Left, 105 }, { XKB_KEY_Up, 103 }, { XKB_KEY_Right, 106 }, { XKB_KEY_Down, 108 },
    // The function keys' codes jump twice on a PC keyboard.
    { XKB_KEY_F1, 59 }, { XKB_KEY_F2, 60 }, { XKB_KEY_F3, 61 }, { XKB_KEY_F4, 62 }, { XKB_KEY_F5, 63 },
    { XKB_KEY_F6, 64 }, { XKB_KEY_F7, 65 }, { XKB_KEY_F8, 66 }, { XKB_KEY_F9, 67 }, { XKB_KEY_F10, 68 },
    { XKB_KEY_F11, 87 }, { XKB_KEY_F12, 88 },
    { XKB_KEY_F13, 183 }, { XKB_KEY_F14, 184 }, { XKB_KEY_F15, 185 }, { XKB_KEY_F16, 186 },
    { XKB_KEY_F17, 187 }, { XKB_KEY_F18, 188 }, { XKB_KEY_F19, 189 }, { XKB_KEY_F20, 190 },
    { XKB_KEY_F21, 191 }, { XKB_KEY_F22, 192 }, { XKB_KEY_F23, 193 }, { XKB_KEY_F24, 194 },
    { XKB_KEY_Shift_L, 42 }, { XKB_KEY_Shift_R, 54 }, { XKB_KEY_Control_L, 29 }, { XKB_KEY_Control_R, 97 },
    { XKB_KEY_Alt_L, 56 }, { XKB_KEY_ISO_Level3_Shift, 100 }, { XKB_KEY_Super_L, 125 }, { XKB_KEY_Menu, 127 },
    { XKB_KEY_Caps_Lock, 58 }, { XKB_KEY_Num_Lock, 69 }, { XKB_KEY_Scroll_Lock, 70 }, { XKB_KEY_Pause, 119 },
    { XKB_KEY_Print, 99 },
    { XKB_KEY_KP_0, 82 }, { XKB_KEY_KP_1, 79 }, { XKB_KEY_KP_2, 80 }, { XKB_KEY_KP_3, 81 }, { XKB_KEY_KP_4, 75 },
    { XKB_KEY_KP_5, 76 }, { XKB_KEY_KP_6, 77 }, { XKB_KEY_KP_7, 71 }, { XKB_KEY_KP_8, 72 }, { XKB_KEY_KP_9, 73 },
    { XKB_KEY_KP_Multiply, 55 }, { XKB_KEY_KP_Add, 78 }, { XKB_KEY_KP_Subtract, 74 }, { XKB_KEY_KP_Decimal, 83 },
    { XKB_KEY_KP_Divide, 98 }, { XKB_KEY_KP_Enter, 96 },
};

} // namespace

TLinuxKey LinuxKeyOf(TNamedKey Key) { return Key < nkNamedKeyCount ? LinuxKeys[Key] : TLinuxKey {}; }
