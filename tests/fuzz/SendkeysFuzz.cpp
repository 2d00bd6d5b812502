// Feeds arbitrary key strings, titles, layouts, windows and clocks to every entry point of the
// key-string sender and TSendkeys, on the recording backend, and checks what must hold for
// any input:
//  - every code is its own group of events: a modifier code one event of its modifier; any
//    other code its key pressed then released, framed by at most two modifiers that are
//    pressed first and released last in reverse order, and framed by none while the last
//    modifier code of the string was a press;
//  - raw codes, F1-F12 and navigation keys are never framed and never ask the layout;
//  - SendKeyString processes no messages; TSendkeys::SendKeys exactly once per code, also
//    when another SendKeys runs inside it;
//  - a title finds exactly the topmost window with that whole title; activation restores a
//    minimized window and raises a normal one;
//  - Delay processes messages until the tick count has passed, across its wrap.
// A violated property aborts, so libFuzzer keeps the input.
#include "MessageRecorder.h"
#include "RecordingWindowsCalls.h"
#include "Sendkey.h"
#include "Sendkeys.h"
#include "TApplication.h"

#include <QMetaObject>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

#define FUZZ_CHECK(Condition)                                                                   \
    do {                                                                                         \
        if (!(Condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #Condition); \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

struct TFuzzWindow {
    std::string Title;
    bool Minimized = false;
    HWND Handle = 0;
};

struct TScenario {
    std::map<BYTE, SHORT> Layout;
    std::vector<TFuzzWindow> Windows; // in the order they were opened
    std::string Title;
    std::string Keys;
    std::string NestedKeys;
    bool Nested = false;
    int TargetChoice = 0; // 0: no window, 1-4: that window if opened, 5: Target as it is
    HWND Target = 0;
    DWORD TickStart = 0;
    DWORD TickStep = 1;
    int DelayMilliseconds = 0;
};

TScenario ReadScenario(FuzzedDataProvider& Data)
{
    TScenario Scenario;
    const int LayoutAnswers = Data.ConsumeIntegralInRange(0, 6);
    for (int Index = 0; Index < LayoutAnswers; ++Index) {
        const auto Character = Data.ConsumeIntegral<BYTE>();
        Scenario.Layout[Character] = Data.ConsumeIntegral<SHORT>();
    }
    const int Windows = Data.ConsumeIntegralInRange(0, 4);
    for (int Index = 0; Index < Windows; ++Index) {
        TFuzzWindow Window;
        Window.Minimized = Data.ConsumeBool();
        Window.Title = Data.ConsumeRandomLengthString(300);
        Scenario.Windows.push_back(std::move(Window));
    }
    Scenario.Nested = Data.ConsumeBool();
    Scenario.TickStart = Data.ConsumeIntegral<DWORD>();
    Scenario.DelayMilliseconds = Data.ConsumeIntegral<int>();
    // Bounded so that one Delay takes at most a few hundred passes.
    const DWORD MinimumStep = Scenario.DelayMilliseconds > 0 ? DWORD(Scenario.DelayMilliseconds) / 256 + 1 : 1;
    Scenario.TickStep = Data.ConsumeIntegralInRange<DWORD>(MinimumStep, 0xFFFFFFFFu);
    Scenario.TargetChoice = Data.ConsumeIntegralInRange(0, 5);
    Scenario.Target = Data.ConsumeIntegral<HWND>();
    Scenario.NestedKeys = Data.ConsumeRandomLengthString(32);
    Scenario.Title = Data.ConsumeRandomLengthString(300);
    Scenario.Keys = Data.ConsumeRemainingBytesAsString();
    return Scenario;
}

// A fresh recording backend set up as the scenario says.
TRecordingWindowsCalls& Install(TScenario& Scenario)
{
    auto Fresh = std::make_unique<TRecordingWindowsCalls>();
    auto& Backend = *Fresh;
    SetWindowsCalls(std::move(Fresh));
    for (const auto& [Character, Answer] : Scenario.Layout)
        Backend.SetVkKeyScanAnswer(Character, Answer);
    for (auto& Window : Scenario.Windows)
        Window.Handle = Backend.AddWindow(Window.Title, Window.Minimized);
    if (Scenario.TargetChoice == 0)
        Scenario.Target = 0;
    else if (Scenario.TargetChoice <= int(Scenario.Windows.size()))
        Scenario.Target = Scenario.Windows[std::size_t(Scenario.TargetChoice - 1)].Handle;
    Backend.SetTickCount(Scenario.TickStart);
    Backend.SetTickStep(Scenario.TickStep);
    return Backend;
}

SHORT LayoutAnswer(const TScenario& Scenario, BYTE Character)
{
    const auto Override = Scenario.Layout.find(Character);
    return Override != Scenario.Layout.end() ? Override->second : UsLayoutVkKeyScan(Character);
}

bool IsFrameKey(BYTE VirtualKey) { return VirtualKey == 0x10 || VirtualKey == 0x11 || VirtualKey == 0x12 || VirtualKey == 0xA5; }

// Splits the key events of a log at its marks of message processing: one group per code.
std::vector<std::vector<TInputCall>> GroupsBetweenMarks(const std::vector<TInputCall>& Calls)
{
    std::vector<std::vector<TInputCall>> Groups(1);
    for (const auto& Call : Calls) {
        if (Call.Kind == ickMessagesProcessed)
            Groups.emplace_back();
        else if (Call.Kind == ickKeybdEvent)
            Groups.back().push_back(Call);
    }
    FUZZ_CHECK(Groups.back().empty()); // nothing is sent after the last code's mark
    Groups.pop_back();
    return Groups;
}

void CheckGroups(const TScenario& Scenario, const std::string& Keys, int RawKeyBound,
    const std::vector<std::vector<TInputCall>>& Groups)
{
    FUZZ_CHECK(Groups.size() == Keys.size());
    bool ModifierHeld = false;
    for (std::size_t Index = 0; Index < Keys.size(); ++Index) {
        const int Code = static_cast<unsigned char>(Keys[Index]);
        const auto& Events = Groups[Index];
        for (const auto& Event : Events) {
            FUZZ_CHECK(Event.ExtraInfo == 0);
            FUZZ_CHECK(Event.Flags == 0 || Event.Flags == KEYEVENTF_KEYUP);
        }
        if (Code >= 250) {
            ModifierHeld = (Code - 250) % 2 == 0;
            FUZZ_CHECK(Events.size() == 1);
            FUZZ_CHECK(Events[0].VirtualKey == ModifierKeyTable[(Code - 250) / 2]);
            FUZZ_CHECK(Events[0].Flags == (ModifierHeld ? 0u : KEYEVENTF_KEYUP));
            continue;
        }
        FUZZ_CHECK(Events.size() == 2 || Events.size() == 4 || Events.size() == 6);
        const std::size_t FrameSize = Events.size() / 2 - 1;
        for (std::size_t Position = 0; Position < Events.size(); ++Position) {
            const auto& Event = Events[Position];
            const auto& Mirror = Events[Events.size() - 1 - Position];
            FUZZ_CHECK(Event.Flags == (Position < Events.size() / 2 ? 0u : KEYEVENTF_KEYUP));
            FUZZ_CHECK(Event.VirtualKey == Mirror.VirtualKey && Event.ScanCode == Mirror.ScanCode);
            if (Position < FrameSize)
                FUZZ_CHECK(IsFrameKey(Event.VirtualKey));
        }
        const BYTE Key = Events[FrameSize].VirtualKey;
        if (Code >= 240) {
            FUZZ_CHECK(FrameSize == 0 && Key == NavigationKeyTable[Code - 240]);
        } else if (Code >= 228) {
            FUZZ_CHECK(FrameSize == 0 && Key == Code - 116);
        } else if (Code < RawKeyBound) {
            FUZZ_CHECK(FrameSize == 0 && Key == Code);
        } else {
            const auto Answer = static_cast<WORD>(LayoutAnswer(Scenario, BYTE(Code)));
            FUZZ_CHECK(Key == (Answer & 0xFF));
            FUZZ_CHECK((FrameSize == 0) == (ModifierHeld || (Answer >> 8) == 0));
        }
    }
}

void CheckSendKeyString(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    SendKeyString(Scenario.Keys);
    FUZZ_CHECK(Backend.CountOf(ickMessagesProcessed) == 0);
    const auto Sent = Backend.KeyEventsAndMessages();

    // The same loop with a mark after each code shows where one code's events end.
    Backend.ClearCalls();
    SendKeyCodes(Scenario.Keys, SendKeyStringRawKeyBound, [&Backend] { Backend.NoteMessagesProcessed(); });
    const auto Marked = Backend.KeyEventsAndMessages();
    std::vector<TInputCall> Unmarked;
    for (const auto& Call : Marked)
        if (Call.Kind == ickKeybdEvent)
            Unmarked.push_back(Call);
    FUZZ_CHECK(Unmarked == Sent);
    CheckGroups(Scenario, Scenario.Keys, SendKeyStringRawKeyBound, GroupsBetweenMarks(Marked));
}

// Runs Action during the next pass of message processing, once; forgets it if none comes.
class TLater : public QObject {
public:
    explicit TLater(std::function<void()> Action)
    {
        QMetaObject::invokeMethod(this, std::move(Action), Qt::QueuedConnection);
    }
    ~TLater() override { QCoreApplication::removePostedEvents(this); }
};

void CheckSendKeys(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    TSendkeys Sender;
    std::optional<TMessageRecorder> Recorder;
    Recorder.emplace(Backend);
    if (!Scenario.Nested || Scenario.Keys.empty()) {
        Sender.SendKeys(Scenario.Keys);
        Recorder.reset();
        CheckGroups(Scenario, Scenario.Keys, SendKeysRawKeyBound, GroupsBetweenMarks(Backend.Calls()));
        return;
    }
    // The recorder's mark comes before the nested call in the first pass, so the nested
    // string's groups follow the first code's group whole.
    TLater Nested([&] { Sender.SendKeys(Scenario.NestedKeys); });
    Sender.SendKeys(Scenario.Keys);
    Recorder.reset();
    auto Groups = GroupsBetweenMarks(Backend.Calls());
    FUZZ_CHECK(Groups.size() == Scenario.Keys.size() + Scenario.NestedKeys.size());
    const std::vector<std::vector<TInputCall>> Inner(Groups.begin() + 1, Groups.begin() + 1 + std::ptrdiff_t(Scenario.NestedKeys.size()));
    CheckGroups(Scenario, Scenario.NestedKeys, SendKeysRawKeyBound, Inner);
    Groups.erase(Groups.begin() + 1, Groups.begin() + 1 + std::ptrdiff_t(Scenario.NestedKeys.size()));
    CheckGroups(Scenario, Scenario.Keys, SendKeysRawKeyBound, Groups);
}

HWND ExpectedWindow(const TScenario& Scenario, const std::string& Title)
{
    if (Title.find('\0') != std::string::npos)
        return 0;
    for (auto Window = Scenario.Windows.rbegin(); Window != Scenario.Windows.rend(); ++Window)
        if (Window->Title == Title)
            return Window->Handle;
    return 0;
}

void CheckActivation(TRecordingWindowsCalls& Backend, const TScenario& Scenario, HWND Window, std::size_t From)
{
    const auto& Calls = Backend.Calls();
    FUZZ_CHECK(Calls.size() >= From + 2);
    FUZZ_CHECK(Calls[From].Kind == ickIsIconic && Calls[From].Window == Window);
    if (Calls[From].Result != 0)
        FUZZ_CHECK(Calls[From + 1].Kind == ickShowWindow && Calls[From + 1].Command == SW_RESTORE && Calls[From + 1].Window == Window);
    else
        FUZZ_CHECK(Calls[From + 1].Kind == ickBringWindowToTop && Calls[From + 1].Window == Window);
    bool Known = false;
    for (const auto& Fake : Scenario.Windows)
        Known = Known || Fake.Handle == Window;
    if (Known) {
        FUZZ_CHECK(!Backend.IsMinimized(Window));
        FUZZ_CHECK(Backend.TopWindow() == Window);
    }
}

void CheckWindows(TScenario& Scenario)
{
    {
        auto& Backend = Install(Scenario);
        const HWND Found = GetHandleFromWindowTitle(Scenario.Title);
        FUZZ_CHECK(Found == ExpectedWindow(Scenario, Scenario.Title));
        FUZZ_CHECK(TSendkeys().GetHandleFromWindowTitle(Scenario.Title) == Found);
        for (const auto& Window : Scenario.Windows)
            FUZZ_CHECK(GetHandleFromWindowTitle(Window.Title) == ExpectedWindow(Scenario, Window.Title));
        (void)Backend;
    }
    {
        auto& Backend = Install(Scenario);
        MakeWindowActive(Scenario.Target);
        CheckActivation(Backend, Scenario, Scenario.Target, 0);
    }
    {
        auto& Backend = Install(Scenario);
        TSendkeys().MakeWindowActive(Scenario.Target);
        CheckActivation(Backend, Scenario, Scenario.Target, 0);
    }
    {
        auto& Backend = Install(Scenario);
        SendKeysToHandle(Scenario.Target, Scenario.Keys);
        CheckActivation(Backend, Scenario, Scenario.Target, 0);
    }
    const HWND Expected = ExpectedWindow(Scenario, Scenario.Title);
    const bool Searches = Scenario.Title.find('\0') == std::string::npos;
    {
        auto& Backend = Install(Scenario);
        SendKeysToTitle(Scenario.Title, Scenario.Keys);
        FUZZ_CHECK(Backend.CountOf(ickFindWindow) == (Searches ? 1u : 0u));
        CheckActivation(Backend, Scenario, Expected, Searches ? 1 : 0);
        FUZZ_CHECK(Backend.CountOf(ickMessagesProcessed) == 0);
    }
    {
        auto& Backend = Install(Scenario);
        TMessageRecorder Recorder(Backend);
        TSendkeys().SendKeysTo(Scenario.Title, Scenario.Keys);
        CheckActivation(Backend, Scenario, Expected, Searches ? 1 : 0);
        FUZZ_CHECK(Backend.CountOf(ickMessagesProcessed) == Scenario.Keys.size());
    }
}

void CheckDelay(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    TMessageRecorder Recorder(Backend);
    TSendkeys().Delay(Scenario.DelayMilliseconds);
    const auto Passes = Backend.CountOf(ickMessagesProcessed);
    FUZZ_CHECK(Backend.CountOf(ickGetTickCount) == Passes + 1);
    // The step never wraps the clock twice within the wait, so the passes are the time over
    // the step, rounded up, and at least one.
    std::uint64_t Expected = 1;
    if (Scenario.DelayMilliseconds > 0)
        Expected = (std::uint64_t(Scenario.DelayMilliseconds) + Scenario.TickStep - 1) / Scenario.TickStep;
    FUZZ_CHECK(Passes == std::max<std::uint64_t>(Expected, 1));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int Argc = 1;
    static char Name[] = "SendkeysFuzz";
    static char* Argv[] = {Name, nullptr};
    static TApplication App(Argc, Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size)
{
    FuzzedDataProvider Data(Bytes, Size);
    TScenario Scenario = ReadScenario(Data);
    CheckSendKeyString(Scenario);
    CheckSendKeys(Scenario);
    CheckWindows(Scenario);
    CheckDelay(Scenario);
    SetWindowsCalls(nullptr);
    return 0;
}
