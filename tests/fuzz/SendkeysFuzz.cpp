// Feeds arbitrary key strings, titles, layouts, windows and clocks to every entry point of the
// key-string sender and TSendkeys, on the recording backend, and checks what must hold for
// any input (the unit tests pin each kind of code exactly; here the question is whether any
// string breaks the rules that join them):
//  - the senders run exactly the actions that KeyStringActions lists, code by code;
//    TSendkeys::SendKeys processes messages once per code, and one nested in it sends its own
//    string whole, with its own modifier flag, inside the outer one's first pass;
//  - nothing is left held: a modifier code is one press or release of its modifier, and every
//    other code releases, in reverse order, each key it pressed;
//  - a title finds exactly the topmost window with that whole title; an activated window is
//    shown and on top;
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
        const bool Minimized = Data.ConsumeBool();
        Scenario.Windows.push_back({ Data.ConsumeRandomLengthString(300), Minimized });
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

// The actions of each code of Keys as the list gives them, each checked to leave nothing held
// that the string does not hold on purpose.
std::vector<TKeyActions> ListedGroups(const std::string& Keys, int RawKeyBound, TInputBackend& Layout)
{
    std::vector<TKeyActions> Groups;
    bool ModifierHeld = false;
    for (const char Code : Keys) {
        TKeyActions& Actions = Groups.emplace_back();
        AppendKeyActions(Actions, static_cast<unsigned char>(Code), RawKeyBound, ModifierHeld, Layout);
        if (static_cast<unsigned char>(Code) >= 250) {
            const TNamedKey Key = Actions.size() == 1 ? Actions[0].Key : nkAltGr;
            FUZZ_CHECK(Key == nkShift || Key == nkControl || Key == nkAlt);
            continue;
        }
        FUZZ_CHECK(Actions.size() % 2 == 0 && Actions.size() <= 10);
        for (std::size_t Position = 0; Position < Actions.size() / 2; ++Position) {
            const TKeyAction& Down = Actions[Position];
            const TKeyAction& Up = Actions[Actions.size() - 1 - Position];
            FUZZ_CHECK(Down.Key == Up.Key && Down.Character == Up.Character);
            FUZZ_CHECK(Down.Kind == (Down.Character ? kakPressCharacterKey : kakPressKey));
            FUZZ_CHECK(Up.Kind == (Up.Character ? kakReleaseCharacterKey : kakReleaseKey));
        }
    }
    return Groups;
}

// The groups as the backend writes them when messages are processed after each one.
std::string Marked(const std::vector<TKeyActions>& Groups)
{
    std::string Text;
    for (const TKeyActions& Actions : Groups)
        Text += (Text.empty() ? "" : " ") + TextOf(Actions) + (Actions.empty() ? "|" : " |");
    return Text;
}

void CheckSendKeyString(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    SendKeyString(Scenario.Keys);
    FUZZ_CHECK(Backend.Felt() == KeyStringActions(Scenario.Keys, SendKeyStringRawKeyBound, Backend));

    // The same loop with a mark after each code shows where one code's actions end.
    Backend.ClearCalls();
    SendKeyCodes(Scenario.Keys, SendKeyStringRawKeyBound, [&Backend] { Backend.NoteMessagesProcessed(); });
    const std::string Felt = Backend.FeltText();
    FUZZ_CHECK(Felt == Marked(ListedGroups(Scenario.Keys, SendKeyStringRawKeyBound, Backend)));
}

void CheckSendKeys(TScenario& Scenario)
{
    auto& Backend = Install(Scenario);
    TSendkeys Sender;
    TMessageRecorder Recorder(Backend);
    // Queued on a context that goes with this scope, so that a call that never ran cannot run
    // later; with no code there is no pass for it to run in.
    const bool Nested = Scenario.Nested && !Scenario.Keys.empty();
    QObject Context;
    if (Nested)
        QMetaObject::invokeMethod(&Context, [&] { Sender.SendKeys(Scenario.NestedKeys); }, Qt::QueuedConnection);
    Sender.SendKeys(Scenario.Keys);
    const std::string Felt = Backend.FeltText();
    auto Groups = ListedGroups(Scenario.Keys, SendKeysRawKeyBound, Backend);
    if (Nested) {
        // The recorder's mark comes before the nested call in the first pass, so the nested
        // string's groups follow the first code's group whole.
        const auto Inner = ListedGroups(Scenario.NestedKeys, SendKeysRawKeyBound, Backend);
        Groups.insert(Groups.begin() + 1, Inner.begin(), Inner.end());
    }
    FUZZ_CHECK(Felt == Marked(Groups));
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

// Every entry point that finds or activates a window: the free lookup for each window's title
// and the component's for the scenario's; activating a window of the scenario leaves it shown
// and on top, and window 0 is left alone.
void CheckWindows(TScenario& Scenario)
{
    Install(Scenario);
    for (const auto& Window : Scenario.Windows)
        FUZZ_CHECK(GetHandleFromWindowTitle(Window.Title) == ExpectedWindow(Scenario, Window.Title));
    const TWindowId Found = ExpectedWindow(Scenario, Scenario.Title);
    FUZZ_CHECK(TSendkeys().GetHandleFromWindowTitle(Scenario.Title) == Found);

    const std::pair<TWindowId, std::function<void()>> Activations[] = {
        { Scenario.Target, [&] { MakeWindowActive(Scenario.Target); } },
        { Scenario.Target, [&] { TSendkeys().MakeWindowActive(Scenario.Target); } },
        { Scenario.Target, [&] { SendKeysToHandle(Scenario.Target, Scenario.Keys); } },
        { Found, [&] { SendKeysToTitle(Scenario.Title, Scenario.Keys); } },
        { Found, [&] { TSendkeys().SendKeysTo(Scenario.Title, Scenario.Keys); } },
    };
    for (const auto& Activation : Activations) {
        auto& Backend = Install(Scenario);
        Activation.second();
        const TWindowId Window = Activation.first;
        const bool Known = std::any_of(Scenario.Windows.begin(), Scenario.Windows.end(),
            [Window](const TFuzzWindow& Fake) { return Fake.Handle == Window; });
        if (!Window)
            FUZZ_CHECK(Backend.CountOf(bckRestoreWindow) + Backend.CountOf(bckRaiseWindow) == 0);
        else if (Known)
            FUZZ_CHECK(!Backend.IsMinimizedNow(Window) && Backend.TopWindow() == Window);
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
    const std::uint64_t Wait = std::uint64_t(std::max(Scenario.DelayMilliseconds, 0));
    FUZZ_CHECK(Passes == std::max<std::uint64_t>((Wait + Scenario.TickStep - 1) / Scenario.TickStep, 1));
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
