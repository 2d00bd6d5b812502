// Qt's own floor for an on-screen keyboard: a window of 48 plain Qt buttons, none taking the
// focus, each typing "a" through XTest when clicked. What KIVO costs beyond the toolkit shows
// against this; what the toolkit costs shows against FloorKeyboard.
#include <QApplication>
#include <QGridLayout>
#include <QToolButton>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

int main(int Argc, char** Argv)
{
    Display* Connection = XOpenDisplay(nullptr);
    if (!Connection)
        return 1;
    const KeyCode KeyA = XKeysymToKeycode(Connection, XK_a);
    QApplication Application(Argc, Argv);
    QWidget Window(nullptr, Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    Window.setWindowTitle(QStringLiteral("qt floor keyboard"));
    auto* Grid = new QGridLayout(&Window);
    for (int Index = 0; Index < 48; ++Index) {
        auto* Key = new QToolButton(&Window);
        Key->setText(QString(QChar('a' + Index % 26)));
        Key->setFocusPolicy(Qt::NoFocus);
        Key->setFixedSize(40, 30);
        QObject::connect(Key, &QToolButton::clicked, [Connection, KeyA] {
            XTestFakeKeyEvent(Connection, KeyA, True, CurrentTime);
            XTestFakeKeyEvent(Connection, KeyA, False, CurrentTime);
            XFlush(Connection);
        });
        Grid->addWidget(Key, Index / 12, Index % 12);
    }
    Window.show();
    const int Result = QApplication::exec();
    XCloseDisplay(Connection);
    return Result;
}
