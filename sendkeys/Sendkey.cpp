#include "Sendkey.h"

#include "Input.h"
#include "Sendkeys.h"
#include "TApplication.h"

#include <cstdint>
#include <utility>

namespace {
void ProcessMessages()
{
    if (Application)
        Application->ProcessMessages();
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
    DWORD Elapsed = 0;
    do {
        ProcessMessages();
        Elapsed = GetTickCount() - Start;
    } while (std::int64_t(Elapsed) < std::int64_t(Milliseconds));
}

void TSendkeys::MakeWindowActive(HWND Window) { ::MakeWindowActive(Window); }

HWND TSendkeys::GetHandleFromWindowTitle(const std::string& Title) { return ::GetHandleFromWindowTitle(Title); }
