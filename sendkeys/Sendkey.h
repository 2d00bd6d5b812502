#pragma once
// The send-keys component: the key-string sender on a form. Unlike SendKeyString, SendKeys
// types every character from the space on through the keyboard layout (only the control
// codes 0-31 are raw virtual keys), and it lets the application process its messages after
// every code, so other handlers, another SendKeys among them, may run inside it. The
// component keeps no state; each operation depends on its arguments alone.
#include "Classes.h"
#include "InputBackend.h"

#include <QObject>

#include <string>

class TSendkeys : public QObject {
    Q_OBJECT

public:
    explicit TSendkeys(TComponent* Owner = nullptr);

    void SendKeys(const std::string& KeyString);
    // Finds the window, activates it (even if none was found) and sends KeyString.
    void SendKeysTo(std::string Title, const std::string& KeyString);
    // Processes messages until Milliseconds have passed on the tick count; at least once. It
    // sleeps until a message comes or the time is up, instead of asking the clock in a loop.
    void Delay(int Milliseconds);
    void MakeWindowActive(TWindowId Window);
    TWindowId GetHandleFromWindowTitle(const std::string& Title);
};
