#include "Messages.h"

#include <QChar>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F24 = 0x87;

int QtKeyOfVirtualKey(WPARAM VirtualKey)
{
    switch (VirtualKey) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case 0x21:
        return Qt::Key_PageUp;
    case 0x22:
        return Qt::Key_PageDown;
    case 0x23:
        return Qt::Key_End;
    case 0x24:
        return Qt::Key_Home;
    case 0x25:
        return Qt::Key_Left;
    case 0x26:
        return Qt::Key_Up;
    case 0x27:
        return Qt::Key_Right;
    case 0x28:
        return Qt::Key_Down;
    case 0x2D:
        return Qt::Key_Insert;
    case 0x2E:
        return Qt::Key_Delete;
    default:
        break;
    }
    // Digits and letters share their codes with Qt's keys.
    if ((VirtualKey >= '0' && VirtualKey <= '9') || (VirtualKey >= 'A' && VirtualKey <= 'Z'))
        return static_cast<int>(VirtualKey);
    if (VirtualKey >= VK_F1 && VirtualKey <= VK_F24)
        return Qt::Key_F1 + static_cast<int>(VirtualKey - VK_F1);
    return Qt::Key_unknown;
}

// Qt names the key of a printable Latin-1 character by its capital form.
int QtKeyOfCharacter(unsigned char Code)
{
    switch (Code) {
    case 8:
        return Qt::Key_Backspace;
    case 9:
        return Qt::Key_Tab;
    case 10:
    case 13:
        return Qt::Key_Return;
    case 27:
        return Qt::Key_Escape;
    default:
        break;
    }
    if (Code < 32 || Code == 127)
        return Qt::Key_unknown;
    return static_cast<int>(QChar(static_cast<char16_t>(Code)).toUpper().unicode());
}

bool Send(QWidget* Target, QEvent::Type Type, int Key, const QString& Text)
{
    QKeyEvent Event(Type, Key, Qt::NoModifier, Text);
    Event.setAccepted(false);
    QCoreApplication::sendEvent(Target, &Event);
    return Event.isAccepted();
}

} // namespace

LRESULT Perform(TWinControl* Control, UINT Msg, WPARAM WParam, LPARAM /*LParam*/)
{
    if (!Control)
        return 0;
    QWidget* Target = Control->focusProxy() ? Control->focusProxy() : Control;
    switch (Msg) {
    case WM_KEYDOWN:
        return Send(Target, QEvent::KeyPress, QtKeyOfVirtualKey(WParam), QString()) ? 1 : 0;
    case WM_KEYUP:
        return Send(Target, QEvent::KeyRelease, QtKeyOfVirtualKey(WParam), QString()) ? 1 : 0;
    case WM_CHAR: {
        const auto Code = static_cast<unsigned char>(WParam & 0xFF);
        if (Code == VK_BACK)
            return 0;
        const int Key = QtKeyOfCharacter(Code);
        const QString Text = QString(QChar(static_cast<char16_t>(Code)));
        const bool Accepted = Send(Target, QEvent::KeyPress, Key, Text);
        Send(Target, QEvent::KeyRelease, Key, Text);
        return Accepted ? 1 : 0;
    }
    default:
        return 0;
    }
}
