#include "Sendkey.h"

#include "Input.h"
#include "Sendkeys.h"
#include "TApplication.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdint>
#include <thread>
#include <utility>

namespace {

// User input waits while the sender processes messages: a click that arrives meanwhile is
// handled after the click being sent for has been handled whole, so clicks take effect one
// after the other, in the order they were made, however slow the sending is.
constexpr auto ExceptUserInput = QEventLoop::ExcludeUserInputEvents;

void ProcessMessages()
{
    if (Application)
        QCoreApplication::processEvents(ExceptUserInput);
}

// One pass of message processing that first waits, up to Milliseconds, for a message to come.
void WaitForMessages(std::int64_t Milliseconds)
{
    const int Timeout = int(std::clamp<std::int64_t>(Milliseconds, 1, INT_MAX));
    if (!Application) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(Timeout, 10)));
        return;
    }
    QTimer Wake;
    Wake.setSingleShot(true);
    Wake.start(Timeout);
    QCoreApplication::processEvents(ExceptUserInput | QEventLoop::WaitForMoreEvents);
}

} // namespace

TSendkeys::TSendkeys(TComponent* Owner)
    : QObject(Owner)
{
}

void TSendkeys::SendKeys(const std::string& KeyString) { SendKeyCodes(KeyString, SendKeysRawKeyBound, ProcessMessages); }

void TSendkeys::SendKeysTo(std::string Title, const std::string& KeyString)
{
    MakeWindowActive(GetHandleFromWindowTitle(Title));
    SendKeys(KeyString);
}

void TSendkeys::Delay(int Milliseconds)
{
    // The tick count wraps to 0 after 2^32 - 1 ms; the unsigned difference is the time passed
    // across the wrap too.
    const DWORD Start = GetTickCount();
    ProcessMessages();
    DWORD Elapsed = GetTickCount() - Start;
    while (std::int64_t(Elapsed) < std::int64_t(Milliseconds)) {
        WaitForMessages(std::int64_t(Milliseconds) - std::int64_t(Elapsed));
        Elapsed = GetTickCount() - Start;
    }
}

void TSendkeys::MakeWindowActive(HWND Window) { ::MakeWindowActive(Window); }

HWND TSendkeys::GetHandleFromWindowTitle(const std::string& Title) { return ::GetHandleFromWindowTitle(Title); }
