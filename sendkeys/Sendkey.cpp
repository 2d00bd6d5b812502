#include "Sendkey.h"

#include "InputBackend.h"
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

// The backend's clock; without one the process's own, so that a wait still ends.
std::uint32_t TickCount()
{
    if (TInputBackend* Backend = CurrentInputBackend())
        return Backend->TickCount();
    const auto Now = std::chrono::steady_clock::now().time_since_epoch();
    return std::uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(Now).count());
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
    const std::uint32_t Start = TickCount();
    ProcessMessages();
    std::uint32_t Elapsed = TickCount() - Start;
    while (std::int64_t(Elapsed) < std::int64_t(Milliseconds)) {
        WaitForMessages(std::int64_t(Milliseconds) - std::int64_t(Elapsed));
        Elapsed = TickCount() - Start;
    }
}

void TSendkeys::MakeWindowActive(TWindowId Window) { ::MakeWindowActive(Window); }

TWindowId TSendkeys::GetHandleFromWindowTitle(const std::string& Title) { return ::GetHandleFromWindowTitle(Title); }
