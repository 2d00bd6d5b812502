// Finding a window by its title and activating it, through the free functions and TSendkeys.
#include "SendkeysTestSupport.h"

#include "Sendkey.h"
#include "Sendkeys.h"

namespace {

// The window calls and key actions in order, e.g. "find Editor = 65552, minimized? 65552 = 1".
std::string Visible(const TRecordingInputBackend& Backend)
{
    std::string Text;
    for (const auto& Call : Backend.Calls()) {
        std::string Word;
        switch (Call.Kind) {
        case bckFindWindow: Word = "find " + Call.Title + " = " + std::to_string(Call.Result); break;
        case bckIsMinimized: Word = "minimized? " + std::to_string(Call.Window) + " = " + std::to_string(Call.Result); break;
        case bckRestoreWindow: Word = "restore " + std::to_string(Call.Window); break;
        case bckRaiseWindow: Word = "raise " + std::to_string(Call.Window); break;
        case bckSendCharacterKey: Word = std::string(Call.Press ? "+" : "-") + char(Call.Character); break;
        case bckSendKey: Word = (Call.Press ? "+" : "-") + std::string(NamedKeyName(Call.Key)); break;
        case bckMessagesProcessed: Word = "|"; break;
        default: continue;
        }
        Text += (Text.empty() ? "" : ", ") + Word;
    }
    return Text;
}

std::string Id(TWindowId Window) { return std::to_string(Window); }

// The two ways to the same operations: the free functions and the component's methods. "nA"
// is the N and A keys for the free sender; the component types A with Shift and processes
// messages after each code ("|").
struct TWindowApi {
    const char* Name;
    const char* SentNA;
    void (*SendTo)(const std::string& Title, const std::string& Keys);
    void (*Activate)(TWindowId Window);
    TWindowId (*Find)(const std::string& Title);
};

const TWindowApi FreeFunctions {
    "FreeFunctions",
    "+n, -n, +a, -a",
    [](const std::string& Title, const std::string& Keys) { SendKeysToTitle(Title, Keys); },
    [](TWindowId Window) { MakeWindowActive(Window); },
    [](const std::string& Title) { return GetHandleFromWindowTitle(Title); },
};

const TWindowApi Component {
    "Component",
    "+n, -n, |, +Shift, +A, -A, -Shift, |",
    [](const std::string& Title, const std::string& Keys) { TSendkeys().SendKeysTo(Title, Keys); },
    [](TWindowId Window) { TSendkeys().MakeWindowActive(Window); },
    [](const std::string& Title) { return TSendkeys().GetHandleFromWindowTitle(Title); },
};

void PrintTo(const TWindowApi& Api, std::ostream* Stream) { *Stream << Api.Name; }

class WindowOperations : public TRecordingTest, public testing::WithParamInterface<TWindowApi> { };

// A minimized target is restored, a normal one only raised, and the keys go out also where no
// window has the title.
TEST_P(WindowOperations, TheTargetIsRestoredOrRaisedAndTheKeysSentEitherWay)
{
    const struct {
        bool Minimized;
        const char* Title;
        const char* Activation; // with %1 for the editor's handle
    } Cases[] = {
        { true, "Untitled - Editor", "find Untitled - Editor = %1, minimized? %1 = 1, restore %1, " },
        { false, "Untitled - Editor", "find Untitled - Editor = %1, minimized? %1 = 0, raise %1, " },
        { false, "Untitled", "find Untitled = 0, " },
    };
    for (const auto& Case : Cases) {
        auto Fresh = std::make_unique<TRecordingInputBackend>(); // the case before's goes
        Backend = Fresh.get();
        SetInputBackend(std::move(Fresh));
        TMessageRecorder Recorder(*Backend);
        const TWindowId Editor = Backend->AddWindow("Untitled - Editor", Case.Minimized);
        const TWindowId Other = Backend->AddWindow("Other");
        GetParam().SendTo(Case.Title, "nA");
        std::string Expected = Case.Activation;
        for (std::size_t At; (At = Expected.find("%1")) != std::string::npos;)
            Expected.replace(At, 2, Id(Editor));
        EXPECT_EQ(Visible(*Backend), Expected + GetParam().SentNA);
        const bool Found = std::string(Case.Title) == "Untitled - Editor";
        EXPECT_EQ(Backend->TopWindow(), Found ? Editor : Other);
        EXPECT_FALSE(Backend->IsMinimizedNow(Editor) && Found);
    }
}

TEST_P(WindowOperations, ActivatingAMinimizedWindowRestoresIt)
{
    const TWindowId Editor = Backend->AddWindow("Editor", true);
    Backend->AddWindow("Other");
    GetParam().Activate(Editor);
    EXPECT_EQ(Visible(*Backend), "minimized? " + Id(Editor) + " = 1, restore " + Id(Editor));
    EXPECT_FALSE(Backend->IsMinimizedNow(Editor));
    EXPECT_EQ(Backend->TopWindow(), Editor);
}

// A title finds the window with that whole title, however long (never one whose title is its
// first 255 bytes), empty only an empty one, in code page 1252; one with a zero byte nothing,
// without asking.
TEST_P(WindowOperations, TitlesAreMatchedWhole)
{
    std::string Long;
    for (int Index = 0; Index < 300; ++Index)
        Long.push_back(static_cast<char>('a' + Index % 26));
    const std::vector<std::string> Titles { "Editor", Long.substr(0, 255), Long, Long + "!", "", "caf\xC3\xA9 notes" };
    std::vector<TWindowId> Windows;
    for (const std::string& Title : Titles)
        Windows.push_back(Backend->AddWindow(Title));
    const std::pair<std::string, TWindowId> Cases[] = {
        { Long, Windows[2] }, { Long.substr(0, 255), Windows[1] }, { Long + "!", Windows[3] }, { Long.substr(0, 256), 0 },
        { "", Windows[4] }, { "caf\xE9 notes", Windows[5] }, { std::string("Editor\0 - 2", 11), 0 },
    };
    for (const auto& [Title, Expected] : Cases) {
        Backend->ClearCalls();
        EXPECT_EQ(GetParam().Find(Title), Expected) << Title.size() << " bytes";
        EXPECT_EQ(Backend->CountOf(bckFindWindow), Title.find('\0') == std::string::npos ? 1u : 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(, WindowOperations, testing::Values(FreeFunctions, Component),
    [](const testing::TestParamInfo<TWindowApi>& Info) { return std::string(Info.param.Name); });

TEST_F(TRecordingTest, SendKeysToHandleActivatesThenSendsRawCodes)
{
    const TWindowId Editor = Backend->AddWindow("Editor", true);
    SendKeysToHandle(Editor, "A");
    EXPECT_EQ(Visible(*Backend), "minimized? " + Id(Editor) + " = 1, restore " + Id(Editor) + ", +a, -a");
}

} // namespace
