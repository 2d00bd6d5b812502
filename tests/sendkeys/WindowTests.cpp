// Finding a window by its title and activating it, through the free functions and TSendkeys.
#include "SendkeysTestSupport.h"

#include "Sendkey.h"
#include "Sendkeys.h"

namespace {

TInputCall FindWindowCall(std::string Title, HWND Found)
{
    TInputCall Call {ickFindWindow};
    Call.WindowName = std::move(Title);
    Call.Result = Found;
    return Call;
}

TInputCall WindowCall(TInputCallKind Kind, HWND Window, DWORD Result, int Command = 0)
{
    TInputCall Call {Kind};
    Call.Window = Window;
    Call.Result = Result;
    Call.Command = Command;
    return Call;
}

// The calls that a caller would notice: window calls and key events, not the layout queries.
std::vector<TInputCall> Visible(const std::vector<TInputCall>& Calls)
{
    std::vector<TInputCall> Result;
    for (const auto& Call : Calls)
        if (Call.Kind != ickVkKeyScan && Call.Kind != ickMapVirtualKey)
            Result.push_back(Call);
    return Result;
}

// The two ways to the same operations: the free functions and the component's methods.
struct TWindowApi {
    const char* Name;
    void (*SendTo)(const std::string& Title, const std::string& Keys);
    void (*Activate)(HWND Window);
    HWND (*Find)(const std::string& Title);
};

const TWindowApi FreeFunctions {
    "FreeFunctions",
    [](const std::string& Title, const std::string& Keys) { SendKeysToTitle(Title, Keys); },
    [](HWND Window) { MakeWindowActive(Window); },
    [](const std::string& Title) { return GetHandleFromWindowTitle(Title); },
};

const TWindowApi Component {
    "Component",
    [](const std::string& Title, const std::string& Keys) { TSendkeys().SendKeysTo(Title, Keys); },
    [](HWND Window) { TSendkeys().MakeWindowActive(Window); },
    [](const std::string& Title) { return TSendkeys().GetHandleFromWindowTitle(Title); },
};

void PrintTo(const TWindowApi& Api, std::ostream* Stream) { *Stream << Api.Name; }

class WindowOperations : public TRecordingTest, public testing::WithParamInterface<TWindowApi> { };

// "n" is a character for both senders, so both send the N key.
TEST_P(WindowOperations, MinimizedTargetIsRestoredNotRaised)
{
    const HWND Editor = Backend->AddWindow("Untitled - Editor", true);
    const HWND Other = Backend->AddWindow("Other");
    GetParam().SendTo("Untitled - Editor", "n");

    EXPECT_EQ(Visible(Backend->Calls()), *TCalls({FindWindowCall("Untitled - Editor", Editor),
        WindowCall(ickIsIconic, Editor, 1), WindowCall(ickShowWindow, Editor, 1, SW_RESTORE), Press(NKey)}));
    EXPECT_FALSE(Backend->IsMinimized(Editor));
    EXPECT_EQ(Backend->TopWindow(), Editor);
    EXPECT_NE(Backend->TopWindow(), Other);
}

TEST_P(WindowOperations, NormalTargetIsOnlyBroughtToTheTop)
{
    const HWND Editor = Backend->AddWindow("Untitled - Editor");
    Backend->AddWindow("Other");
    GetParam().SendTo("Untitled - Editor", "n");

    EXPECT_EQ(Visible(Backend->Calls()), *TCalls({FindWindowCall("Untitled - Editor", Editor),
        WindowCall(ickIsIconic, Editor, 0), WindowCall(ickBringWindowToTop, Editor, 1), Press(NKey)}));
    EXPECT_EQ(Backend->TopWindow(), Editor);
}

TEST_P(WindowOperations, TitleThatMatchesNothingStillSendsTheKeys)
{
    Backend->AddWindow("Untitled - Editor");
    const HWND Other = Backend->AddWindow("Other");
    GetParam().SendTo("Untitled", "n");

    EXPECT_EQ(Visible(Backend->Calls()), *TCalls({FindWindowCall("Untitled", 0), WindowCall(ickIsIconic, 0, 0),
        WindowCall(ickBringWindowToTop, 0, 0), Press(NKey)}));
    EXPECT_EQ(Backend->TopWindow(), Other);
}

TEST_P(WindowOperations, ActivatingAMinimizedWindowRestoresIt)
{
    const HWND Editor = Backend->AddWindow("Editor", true);
    Backend->AddWindow("Other");
    GetParam().Activate(Editor);
    EXPECT_EQ(Backend->Calls(),
        std::vector<TInputCall>({WindowCall(ickIsIconic, Editor, 1), WindowCall(ickShowWindow, Editor, 1, SW_RESTORE)}));
    EXPECT_FALSE(Backend->IsMinimized(Editor));
    EXPECT_EQ(Backend->TopWindow(), Editor);
}

// Titles are matched whole, however long: never a window whose title is the first 255 bytes.
TEST_P(WindowOperations, LongTitlesAreMatchedWhole)
{
    std::string Long;
    for (int Index = 0; Index < 300; ++Index)
        Long.push_back(static_cast<char>('a' + Index % 26));
    const HWND Cut = Backend->AddWindow(Long.substr(0, 255));
    const HWND Whole = Backend->AddWindow(Long);
    const HWND Longer = Backend->AddWindow(Long + "!");

    EXPECT_EQ(GetParam().Find(Long), Whole);
    EXPECT_EQ(GetParam().Find(Long.substr(0, 255)), Cut);
    EXPECT_EQ(GetParam().Find(Long + "!"), Longer);
    EXPECT_EQ(GetParam().Find(Long.substr(0, 256)), 0u);
}

TEST_P(WindowOperations, EmptyTitleFindsOnlyAWindowWithAnEmptyTitle)
{
    Backend->AddWindow("Editor");
    EXPECT_EQ(GetParam().Find(""), 0u);
    const HWND Untitled = Backend->AddWindow("");
    Backend->AddWindow("Other");
    EXPECT_EQ(GetParam().Find(""), Untitled);
}

TEST_P(WindowOperations, TitleWithAZeroByteFindsNothing)
{
    Backend->AddWindow("Editor");
    EXPECT_EQ(GetParam().Find(std::string("Editor\0 - 2", 11)), 0u);
    EXPECT_EQ(Backend->CountOf(ickFindWindow), 0u);
}

INSTANTIATE_TEST_SUITE_P(, WindowOperations, testing::Values(FreeFunctions, Component),
    [](const testing::TestParamInfo<TWindowApi>& Info) { return std::string(Info.param.Name); });

TEST_F(TRecordingTest, SendKeysToHandleActivatesThenSendsRawCodes)
{
    const HWND Editor = Backend->AddWindow("Editor", true);
    SendKeysToHandle(Editor, "A");
    EXPECT_EQ(Visible(Backend->Calls()),
        *TCalls({WindowCall(ickIsIconic, Editor, 1), WindowCall(ickShowWindow, Editor, 1, SW_RESTORE), Press(AKey)}));
}

// The component processes messages after each code, also when it found the window itself.
TEST_F(TRecordingTest, SendKeysToProcessesMessagesAfterEachCode)
{
    TMessageRecorder Recorder(*Backend);
    const HWND Editor = Backend->AddWindow("Editor");
    TSendkeys().SendKeysTo("Editor", "aA");
    EXPECT_EQ(Visible(Backend->Calls()),
        *TCalls({FindWindowCall("Editor", Editor), WindowCall(ickIsIconic, Editor, 0),
            WindowCall(ickBringWindowToTop, Editor, 1), Press(AKey), Messages(), Framed({ShiftKey}, AKey), Messages()}));
}

} // namespace
