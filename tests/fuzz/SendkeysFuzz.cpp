// Feeds arbitrary key strings, titles, layouts, windows and clocks to every entry point of the
// key-string sender and TSendkeys, on the recording backend, and checks what must hold for
// any input:
//  - every code is its own group of actions: a modifier code one press or release of its
//    modifier; any other code one key pressed then released, framed by the modifiers the
//    layout gives its character (pressed first, released last in reverse order), and by none
//    while the last modifier code of the string was a press;
//  - raw codes, F1-F12 and navigation keys are never framed and never ask the layout;
//  - the senders run exactly the actions of the list; SendKeyString processes no messages,
//    TSendkeys::SendKeys exactly once per code, also when another SendKeys runs inside it;
//  - a title finds exactly the topmost window with that whole title; activation restores a
//    minimized window and raises a normal one;
//  - Delay processes messages until the tick count has passed, across its wrap.
// A violated property aborts, so libFuzzer keeps the input.
#include "MessageRecorder.h"
#include "RecordingInputBackend.h"
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
    TWindowId Handle = 0;
};

struct TScenario {
    std::map<char32_t, std::optional<TModifiers>> Layout;
    std::vector<TFuzzWindow> Windows; // in the order they were opened
    std::string Title;
    std::string Keys;
    std::string NestedKeys;
    bool Nested = false;
    int TargetChoice = 0; // 0: no window, 1-4: that window if opened, 5: Target as it is
    TWindowId Target = 0;
    std::uint32_t TickStart = 0;
    std::uint32_t TickStep = 1;
    int DelayMilliseconds = 0;
};

TScenario ReadScenario(FuzzedDataProvider& Data)
{
    TScenario Scenario;
    const int LayoutAnswers = Data.ConsumeIntegralInRange(0, 6);
    for (int Index = 0; Index < LayoutAnswers; ++Index) {
        const char32_t Character = CodePointOfAnsiCharacter(Data.ConsumeIntegral<unsigned char>());
        const auto Modifiers = Data.ConsumeIntegral<std::uint8_t>();
        Scenario.Layout[Character] = Modifiers > mfAltGr * 2 - 1 ? std::nullopt : std::optional<TModifiers>(Modifiers);
    }
    const int Windows = Data.ConsumeIntegralInRange(0, 4);
    for (int Index = 0; Index < Windows; ++Index) {
        TFuzzWindow Window;
        Window.Minimized = Data.ConsumeBool();
        Window.Title = Data.ConsumeRandomLengthString(300);
        Scenario.Windows.push_back(std::move(Window));
    }
    Scenario.Nested = Data.ConsumeBool();
    Scenario.TickStart = Data.ConsumeIntegral<std::uint32_t>();
    Scenario.DelayMilliseconds = Data.ConsumeIntegral<int>();
    // Bounded so that one Delay takes at most a few hundred passes.
    const std::uint32_t MinimumStep = Scenario.DelayMilliseconds > 0 ? std::uint32_t(Scenario.DelayMilliseconds) / 256 + 1 : 1;
    Scenario.TickStep = Data.ConsumeIntegralInRange<std::uint32_t>(MinimumStep, 0xFFFFFFFFu);
    Scenario.TargetChoice = Data.ConsumeIntegralInRange(0, 5);
    Scenario.Target = Data.ConsumeIntegral<TWindowId>();
    Scenario.NestedKeys = Data.ConsumeRandomLengthString(32);
    Scenario.Title = Data.ConsumeRandomLengthString(300);
    Scenario.Keys = Data.ConsumeRemainingBytesAsString();
    return Scenario;
}

// A fresh recording backend set up as the scenario says.
TRecordingInputBackend& Install(TScenario& Scenario)
{
    auto Fresh = std::make_unique<TRecordingInputBackend>();
    auto& Backend = *Fresh;
    SetInputBackend(std::move(Fresh));
    for (const auto& [Character, Modifiers] : Scenario.Layout)
        Backend.SetModifiers(Character, Modifiers);
    for (auto& Window : Scenario.Windows)
        Window.Handle = Backend.AddWindow(Utf8FromAnsi(Window.Title), Window.Minimized);
    if (Scenario.TargetChoice == 0)
        Scenario.Target = 0;
    else if (Scenario.TargetChoice <= int(Scenario.Windows.size()))
        Scenario.Target = Scenario.Windows[std::size_t(Scenario.TargetChoice - 1)].Handle;
    Backend.SetTickCount(Scenario.TickStart);
    Backend.SetTickStep(Scenario.TickStep);
    return Backend;
}

// The modifier a press or release of a modifier key acts on; none for any other action.
TModifiers ModifierOf(const TKeyAction& Action)
{
    if (Action.Kind != kakPressKey && Action.Kind != kakReleaseKey)
        return 0;
    const TNamedKey Key = Action.Key;
    return Key == nkShift ? mfShift : Key == nkControl ? mfControl : Key == nkAlt ? mfAlt : Key == nkAltGr ? mfAltGr : 0;
}

// Splits what the backend felt at its marks of message processing: one group per code.
std::vector<TKeyActions> GroupsBetweenMarks(const TRecordingInputBackend& Backend)
{
    std::vector<TKeyActions> Groups(1);
    for (const auto& Call : Backend.Calls()) {
        if (Call.Kind == bckMessagesProcessed)
            Groups.emplace_back();
        else if (Call.Kind == bckSendKey)
            Groups.back().push_back(Call.Press ? PressKey(Call.Key) : ReleaseKey(Call.Key));
        else if (Call.Kind == bckSendCharacterKey)
            Groups.back().push_back(Call.Press ? PressCharacterKey(Call.Character) : ReleaseCharacterKey(Call.Character));
        else
            FUZZ_CHECK(Call.Kind == bckModifiersFor);
    }
    FUZZ_CHECK(Groups.back().empty()); // nothing is sent after the last code's mark
    Groups.pop_back();
    return Groups;
}

// What the scenario's layout gives the character of a code; none for a hole of the code page.
std::optional<TModifiers> LayoutAnswer(const TScenario& Scenario, int Code)
{
    const char32_t Character = CodePointOfAnsiCharacter(static_cast<unsigned char>(Code));
    if (!Character)
        return std::nullopt;
    const auto Override = Scenario.Layout.find(Character);
    return Override != Scenario.Layout.end() ? Override->second : TRecordingInputBackend().ModifiersFor(Character);
}

void CheckGroups(const TScenario& Scenario, const std::string& Keys, int RawKeyBound,
    const std::vector<TKeyActions>& Groups)
{
    FUZZ_CHECK(Groups.size() == Keys.size());
    bool ModifierHeld = false;
    for (std::size_t Index = 0; Index < Keys.size(); ++Index) {
        const int Code = static_cast<unsigned char>(Keys[Index]);
        const TKeyActions& Actions = Groups[Index];
        if (Code >= 250) {
            ModifierHeld = (Code - 250) % 2 == 0;
            FUZZ_CHECK(Actions.size() == 1 && ModifierOf(Actions[0]) != 0 && Actions[0].Key != nkAltGr);
            FUZZ_CHECK(Actions[0].Kind == (ModifierHeld ? kakPressKey : kakReleaseKey));
            FUZZ_CHECK(Actions[0].Key == (Code < 252 ? nkShift : Code < 254 ? nkControl : nkAlt));
            continue;
        }
        FUZZ_CHECK(Actions.size() % 2 == 0 && Actions.size() <= 10);
        if (Actions.empty()) {
            // Only a raw code that names no key, or a character no key types under a held
            // modifier, sends nothing.
            FUZZ_CHECK(Code < RawKeyBound || (Code < 228 && ModifierHeld && !LayoutAnswer(Scenario, Code)));
            continue;
        }
        const std::size_t FrameSize = Actions.size() / 2 - 1;
        TModifiers Frame = 0;
        for (std::size_t Position = 0; Position < Actions.size(); ++Position) {
            const TKeyAction& Action = Actions[Position];
            const TKeyAction& Mirror = Actions[Actions.size() - 1 - Position];
            const bool Down = Position < Actions.size() / 2;
            FUZZ_CHECK(Action.Key == Mirror.Key && Action.Character == Mirror.Character);
            FUZZ_CHECK(Action.Kind == (Action.Character ? (Down ? kakPressCharacterKey : kakReleaseCharacterKey) : (Down ? kakPressKey : kakReleaseKey)));
            if (Position < FrameSize) {
                FUZZ_CHECK(ModifierOf(Action) != 0);
                Frame |= ModifierOf(Action);
            }
        }
        const TKeyAction& Key = Actions[FrameSize];
        if (Code >= 228 || Code < RawKeyBound) {
            FUZZ_CHECK(FrameSize == 0);
            continue;
        }
        const auto Needed = LayoutAnswer(Scenario, Code);
        if (!Needed) {
            // No key types it: only the Shift that would have framed it.
            FUZZ_CHECK(!ModifierHeld && Actions == TKeyActions({PressKey(nkShift), ReleaseKey(nkShift)}));
            continue;
        }
        FUZZ_CHECK(Key.Character == CodePointOfAnsiCharacter(static_cast<unsigned char>(Code)));
        FUZZ_CHECK(Frame == (ModifierHeld ? 0 : *Needed));
    }
}

void CheckSendKeyString(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    const TKeyActions Listed = KeyStringActions(Scenario.Keys, SendKeyStringRawKeyBound, Backend);
    Backend.ClearCalls();
    SendKeyString(Scenario.Keys);
    FUZZ_CHECK(Backend.Felt() == Listed);

    // The same loop with a mark after each code shows where one code's actions end.
    Backend.ClearCalls();
    SendKeyCodes(Scenario.Keys, SendKeyStringRawKeyBound, [&Backend] { Backend.NoteMessagesProcessed(); });
    FUZZ_CHECK(Backend.Felt() == Listed);
    CheckGroups(Scenario, Scenario.Keys, SendKeyStringRawKeyBound, GroupsBetweenMarks(Backend));
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
        CheckGroups(Scenario, Scenario.Keys, SendKeysRawKeyBound, GroupsBetweenMarks(Backend));
        return;
    }
    // The recorder's mark comes before the nested call in the first pass, so the nested
    // string's groups follow the first code's group whole.
    TLater Nested([&] { Sender.SendKeys(Scenario.NestedKeys); });
    Sender.SendKeys(Scenario.Keys);
    Recorder.reset();
    auto Groups = GroupsBetweenMarks(Backend);
    FUZZ_CHECK(Groups.size() == Scenario.Keys.size() + Scenario.NestedKeys.size());
    const std::vector<TKeyActions> Inner(Groups.begin() + 1, Groups.begin() + 1 + std::ptrdiff_t(Scenario.NestedKeys.size()));
    CheckGroups(Scenario, Scenario.NestedKeys, SendKeysRawKeyBound, Inner);
    Groups.erase(Groups.begin() + 1, Groups.begin() + 1 + std::ptrdiff_t(Scenario.NestedKeys.size()));
    CheckGroups(Scenario, Scenario.Keys, SendKeysRawKeyBound, Groups);
}

TWindowId ExpectedWindow(const TScenario& Scenario, const std::string& Title)
{
    if (Title.find('\0') != std::string::npos)
        return 0;
    for (auto Window = Scenario.Windows.rbegin(); Window != Scenario.Windows.rend(); ++Window)
        if (Utf8FromAnsi(Window->Title) == Utf8FromAnsi(Title))
            return Window->Handle;
    return 0;
}

// Window 0 is left alone; another is asked whether it is minimized (the call at From), then
// restored or raised, and a window of the scenario is then shown and on top.
void CheckActivation(TRecordingInputBackend& Backend, const TScenario& Scenario, TWindowId Window, std::size_t From)
{
    const auto& Calls = Backend.Calls();
    if (!Window) {
        FUZZ_CHECK(Backend.CountOf(bckIsMinimized) + Backend.CountOf(bckRestoreWindow) + Backend.CountOf(bckRaiseWindow) == 0);
        return;
    }
    FUZZ_CHECK(Calls.size() >= From + 2);
    FUZZ_CHECK(Calls[From].Kind == bckIsMinimized && Calls[From].Window == Window);
    const auto Expected = Calls[From].Result != 0 ? bckRestoreWindow : bckRaiseWindow;
    FUZZ_CHECK(Calls[From + 1].Kind == Expected && Calls[From + 1].Window == Window);
    if (std::any_of(Scenario.Windows.begin(), Scenario.Windows.end(), [Window](const TFuzzWindow& Fake) { return Fake.Handle == Window; }))
        FUZZ_CHECK(!Backend.IsMinimizedNow(Window) && Backend.TopWindow() == Window);
}

void CheckWindows(TScenario& Scenario)
{
    Install(Scenario);
    const TWindowId Expected = ExpectedWindow(Scenario, Scenario.Title);
    FUZZ_CHECK(GetHandleFromWindowTitle(Scenario.Title) == Expected);
    FUZZ_CHECK(TSendkeys().GetHandleFromWindowTitle(Scenario.Title) == Expected);
    for (const auto& Window : Scenario.Windows)
        FUZZ_CHECK(GetHandleFromWindowTitle(Window.Title) == ExpectedWindow(Scenario, Window.Title));

    // By handle: activation first, whichever entry point.
    const std::function<void()> ByHandle[] = {
        [&] { MakeWindowActive(Scenario.Target); },
        [&] { TSendkeys().MakeWindowActive(Scenario.Target); },
        [&] { SendKeysToHandle(Scenario.Target, Scenario.Keys); },
    };
    for (const auto& Call : ByHandle) {
        auto& Backend = Install(Scenario);
        Call();
        CheckActivation(Backend, Scenario, Scenario.Target, 0);
    }
    // By title: one search unless the title cannot name a window, then the same activation;
    // only TSendkeys processes messages, once per code.
    const bool Searches = Scenario.Title.find('\0') == std::string::npos;
    for (const bool Component : { false, true }) {
        auto& Backend = Install(Scenario);
        {
            std::optional<TMessageRecorder> Recorder;
            if (Component) {
                Recorder.emplace(Backend);
                TSendkeys().SendKeysTo(Scenario.Title, Scenario.Keys);
            } else {
                SendKeysToTitle(Scenario.Title, Scenario.Keys);
            }
        }
        FUZZ_CHECK(Backend.CountOf(bckFindWindow) == (Searches ? 1u : 0u));
        CheckActivation(Backend, Scenario, Expected, Searches ? 1 : 0);
        FUZZ_CHECK(Backend.CountOf(bckMessagesProcessed) == (Component ? Scenario.Keys.size() : 0u));
    }
}

void CheckDelay(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    TMessageRecorder Recorder(Backend);
    TSendkeys().Delay(Scenario.DelayMilliseconds);
    const auto Passes = Backend.CountOf(bckMessagesProcessed);
    FUZZ_CHECK(Backend.CountOf(bckTickCount) == Passes + 1);
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
    SetInputBackend(nullptr);
    return 0;
}
