#include "RecordingInputBackend.h"

#include <algorithm>
#include <cstring>
#include <sstream>

std::ostream& operator<<(std::ostream& Stream, const TBackendCall& Call)
{
    static constexpr const char* Names[] = {"TypeCharacter", "SendKey", "SendCharacterKey", "ModifiersFor", "FindWindow",
        "IsMinimized", "RestoreWindow", "RaiseWindow", "IconifyWindow", "TickCount", "MessagesProcessed"};
    Stream << Names[Call.Kind] << "(";
    switch (Call.Kind) {
    case bckTypeCharacter:
    case bckModifiersFor: Stream << "U+" << std::hex << std::uint32_t(Call.Character) << std::dec; break;
    case bckSendKey: Stream << "key " << int(Call.Key) << (Call.Press ? ", down" : ", up"); break;
    case bckSendCharacterKey:
        Stream << "U+" << std::hex << std::uint32_t(Call.Character) << std::dec << (Call.Press ? ", down" : ", up");
        break;
    case bckFindWindow: Stream << '"' << Call.Title << '"'; break;
    default: Stream << Call.Window; break;
    }
    return Stream << ") = " << Call.Result;
}

namespace {

// What a US keyboard types with Shift; the other printable ASCII characters it types without.
bool UsKeyNeedsShift(char32_t Character)
{
    return (Character >= 'A' && Character <= 'Z') || (Character && std::strchr("~!@#$%^&*()_+{}|:\"<>?", int(Character)));
}

bool UsKeyboardTypes(char32_t Character) { return Character >= 0x20 && Character < 0x7F; }

bool IsKeyCall(const TBackendCall& Call)
{
    return Call.Kind == bckTypeCharacter || Call.Kind == bckSendKey || Call.Kind == bckSendCharacterKey;
}

TKeyAction ActionOf(const TBackendCall& Call)
{
    if (Call.Kind == bckTypeCharacter)
        return TypeCharacterAction(Call.Character);
    if (Call.Kind == bckSendKey)
        return Call.Press ? PressKey(Call.Key) : ReleaseKey(Call.Key);
    return Call.Press ? PressCharacterKey(Call.Character) : ReleaseCharacterKey(Call.Character);
}

} // namespace

bool TRecordingInputBackend::Record(TBackendCall Call)
{
    Log.push_back(std::move(Call));
    return Log.back().Result != 0;
}

std::optional<TModifiers> TRecordingInputBackend::ModifiersFor(char32_t Character)
{
    std::optional<TModifiers> Answer;
    if (const auto Given = Layout.find(Character); Given != Layout.end()) {
        Answer = Given->second;
    } else if (UsKeyboardTypes(Character)) {
        Answer = TModifiers(UsKeyNeedsShift(Character) ? mfShift : 0);
    }
    TBackendCall Call;
    Call.Kind = bckModifiersFor;
    Call.Character = Character;
    Call.Result = Answer ? *Answer : 0xFF;
    Log.push_back(Call);
    return Answer;
}

bool TRecordingInputBackend::TypeCharacter(char32_t Character)
{
    if (FramesCharacters)
        return TInputBackend::TypeCharacter(Character);
    TBackendCall Call {bckTypeCharacter, Character};
    const auto Given = Layout.find(Character);
    Call.Result = Given != Layout.end() ? Given->second.has_value() : (Character >= 0x20 && Character < 0x7F) || Character == '\b'
            || Character == '\t' || Character == '\r' || Character == '\n';
    return Record(Call);
}

void TRecordingInputBackend::SendKey(TNamedKey Key, bool Press) { Log.push_back({bckSendKey, 0, Key, Press}); }

bool TRecordingInputBackend::SendCharacterKey(char32_t Character, bool Press)
{
    TBackendCall Call {bckSendCharacterKey, Character, nkBackSpace, Press};
    const auto Given = Layout.find(Character);
    Call.Result = Given != Layout.end() ? Given->second.has_value() : UsKeyboardTypes(Character);
    return Record(Call);
}

TWindowId TRecordingInputBackend::FindWindow(const std::string& Title, const std::string& ClassName)
{
    TBackendCall Call;
    Call.Kind = bckFindWindow;
    Call.Title = Title;
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [&](const TFakeWindow& Window) {
        return Window.Title == Title && (ClassName.empty() || Window.ClassName == ClassName);
    });
    Call.Result = Found != Windows.end() ? Found->Handle : 0;
    Log.push_back(Call);
    return Call.Result;
}

bool TRecordingInputBackend::IsMinimized(TWindowId Window)
{
    TBackendCall Call;
    Call.Kind = bckIsMinimized;
    Call.Window = Window;
    Call.Result = IsMinimizedNow(Window);
    return Record(Call);
}

bool TRecordingInputBackend::RestoreWindow(TWindowId Window)
{
    TBackendCall Call;
    Call.Kind = bckRestoreWindow;
    Call.Window = Window;
    if (auto* Fake = Find(Window)) {
        Fake->Minimized = false;
        Raise(Window);
        Call.Result = 1;
    }
    return Record(Call);
}

bool TRecordingInputBackend::RaiseWindow(TWindowId Window)
{
    TBackendCall Call;
    Call.Kind = bckRaiseWindow;
    Call.Window = Window;
    if (Find(Window)) {
        Raise(Window);
        Call.Result = 1;
    }
    return Record(Call);
}

bool TRecordingInputBackend::IconifyWindow(TWindowId Window)
{
    TBackendCall Call;
    Call.Kind = bckIconifyWindow;
    Call.Window = Window;
    if (auto* Fake = Find(Window)) {
        Fake->Minimized = true;
        Call.Result = 1;
    }
    return Record(Call);
}

std::uint32_t TRecordingInputBackend::TickCount()
{
    TBackendCall Call;
    Call.Kind = bckTickCount;
    Call.Result = Ticks;
    Log.push_back(Call);
    Ticks += TickStep;
    return Call.Result;
}

std::vector<TBackendCall> TRecordingInputBackend::KeyCalls() const
{
    std::vector<TBackendCall> Felt;
    std::copy_if(Log.begin(), Log.end(), std::back_inserter(Felt), IsKeyCall);
    return Felt;
}

TKeyActions TRecordingInputBackend::Felt() const
{
    TKeyActions Actions;
    for (const TBackendCall& Call : Log)
        if (IsKeyCall(Call))
            Actions.push_back(ActionOf(Call));
    return Actions;
}

std::string TRecordingInputBackend::FeltText() const
{
    std::string Text;
    for (const TBackendCall& Call : Log) {
        if (Call.Kind == bckMessagesProcessed)
            Text += Text.empty() ? "|" : " |";
        else if (IsKeyCall(Call))
            Text += (Text.empty() ? "" : " ") + TextOf({ActionOf(Call)});
    }
    return Text;
}

std::size_t TRecordingInputBackend::CountOf(TBackendCallKind Kind) const
{
    return std::size_t(std::count_if(Log.begin(), Log.end(), [Kind](const TBackendCall& Call) { return Call.Kind == Kind; }));
}

std::string TextOf(const TKeyActions& Actions)
{
    std::ostringstream Text;
    for (std::size_t Index = 0; Index < Actions.size(); ++Index)
        Text << (Index ? " " : "") << Actions[Index];
    return Text.str();
}

TWindowId TRecordingInputBackend::AddWindow(std::string Title, bool Minimized, std::string ClassName)
{
    const TWindowId Handle = NextHandle++;
    Windows.insert(Windows.begin(), TFakeWindow {Handle, std::move(Title), std::move(ClassName), Minimized});
    return Handle;
}

bool TRecordingInputBackend::IsMinimizedNow(TWindowId Window) const
{
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    return Found != Windows.end() && Found->Minimized;
}

TRecordingInputBackend::TFakeWindow* TRecordingInputBackend::Find(TWindowId Window)
{
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    return Window && Found != Windows.end() ? &*Found : nullptr;
}

void TRecordingInputBackend::Raise(TWindowId Window)
{
    const auto Found = std::find_if(Windows.begin(), Windows.end(), [Window](const TFakeWindow& Fake) { return Fake.Handle == Window; });
    if (Found != Windows.end())
        std::rotate(Windows.begin(), Found, Found + 1);
}
