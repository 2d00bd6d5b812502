#include "InputBackend.h"
#include "CommittingInputBackend.h"

#include <array>
#include <ostream>

namespace {

std::unique_ptr<TInputBackend>& Current()
{
    static std::unique_ptr<TInputBackend> Backend;
    return Backend;
}

// The modifiers in the order they go down, and the named key of each.
constexpr std::array<std::pair<TModifier, TNamedKey>, 4> ModifierKeys {{
    {mfShift, nkShift}, {mfControl, nkControl}, {mfAlt, nkAlt}, {mfAltGr, nkAltGr}}};

TModifiers ModifierOfKey(TNamedKey Key)
{
    for (const auto& [Modifier, Named] : ModifierKeys)
        if (Named == Key)
            return Modifier;
    return 0;
}

constexpr const char* NamedKeyNames[nkNamedKeyCount] = {
    "BackSpace", "Tab", "Return", "Escape", "Space", "Delete", "Insert",
    "Home", "End", "PageUp", "PageDown", "Left", "Up", "Right", "Down",
    "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24",
    "Shift", "RightShift", "Control", "RightControl", "Alt", "AltGr", "Super", "Menu",
    "CapsLock", "NumLock", "ScrollLock", "Pause", "PrintScreen",
    "Keypad0", "Keypad1", "Keypad2", "Keypad3", "Keypad4", "Keypad5", "Keypad6", "Keypad7",
    "Keypad8", "Keypad9", "KeypadMultiply", "KeypadAdd", "KeypadSubtract", "KeypadDecimal",
    "KeypadDivide", "KeypadEnter",
};

} // namespace

void AppendFramedCharacter(TKeyActions& Actions, char32_t Character, TModifiers Needed, TModifiers Held)
{
    for (const auto& [Modifier, Key] : ModifierKeys) {
        if ((Needed & Modifier) && !(Held & Modifier))
            Actions.push_back(PressKey(Key));
        else if (!(Needed & Modifier) && (Held & Modifier))
            Actions.push_back(ReleaseKey(Key));
    }
    Actions.push_back(PressCharacterKey(Character));
    Actions.push_back(ReleaseCharacterKey(Character));
    for (auto Each = ModifierKeys.rbegin(); Each != ModifierKeys.rend(); ++Each) {
        const auto& [Modifier, Key] = *Each;
        if ((Needed & Modifier) && !(Held & Modifier))
            Actions.push_back(ReleaseKey(Key));
        else if (!(Needed & Modifier) && (Held & Modifier))
            Actions.push_back(PressKey(Key));
    }
}

bool TInputBackend::Run(const TKeyActions& Actions, const std::function<void(char32_t)>& OnUntyped)
{
    bool AllTyped = true;
    BeginActions();
    for (const TKeyAction& Action : Actions) {
        bool Typed = true;
        switch (Action.Kind) {
        case kakPressKey:
        case kakReleaseKey: {
            const bool Press = Action.Kind == kakPressKey;
            SendKey(Action.Key, Press);
            const TModifiers Modifier = ModifierOfKey(Action.Key);
            Held = Press ? TModifiers(Held | Modifier) : TModifiers(Held & ~Modifier);
            break;
        }
        case kakPressCharacterKey: Typed = SendCharacterKey(Action.Character, true); break;
        // A release of a key that went nowhere is no new failure.
        case kakReleaseCharacterKey: SendCharacterKey(Action.Character, false); break;
        case kakTypeCharacter: Typed = TypeCharacter(Action.Character); break;
        }
        if (!Typed) {
            AllTyped = false;
            if (OnUntyped)
                OnUntyped(Action.Character);
        }
    }
    EndActions();
    return AllTyped;
}

bool TInputBackend::TypeCharacter(char32_t Character)
{
    const auto Needed = ModifiersFor(Character);
    if (!Needed)
        return false;
    TKeyActions Actions;
    AppendFramedCharacter(Actions, Character, *Needed, Held);
    return Run(Actions);
}

const char* NamedKeyName(TNamedKey Key) { return Key < nkNamedKeyCount ? NamedKeyNames[Key] : "?"; }

std::ostream& operator<<(std::ostream& Stream, const TKeyAction& Action)
{
    static constexpr char Signs[] = {'+', '-', '+', '-', '='};
    Stream << Signs[Action.Kind];
    if (Action.Kind == kakPressKey || Action.Kind == kakReleaseKey)
        return Stream << NamedKeyName(Action.Key);
    if (Action.Character > 0x20 && Action.Character < 0x7F)
        return Stream << char(Action.Character);
    return Stream << "U+" << std::hex << std::uint32_t(Action.Character) << std::dec;
}

std::unique_ptr<TInputBackend> SetInputBackend(std::unique_ptr<TInputBackend> Backend)
{
    Current().swap(Backend);
    return Backend;
}

TInputBackend* CurrentInputBackend() { return Current().get(); }

bool TCommittingInputBackend::TypeCharacter(char32_t Character)
{
    if (!Committing())
        return Fallback->TypeCharacter(Character);
    if (Character == U'\n' || Character == U'\r')
        TapKey(nkReturn);
    else if (Character == U'\t')
        TapKey(nkTab);
    else
        Commit(Character);
    return true;
}

std::optional<TModifiers> TCommittingInputBackend::ModifiersFor(char32_t Character)
{
    if (!Committing())
        return Fallback->ModifiersFor(Character);
    return TModifiers(0);
}

TWindowId TCommittingInputBackend::FindWindow(const std::string& Title, const std::string& ClassName)
{
    return Fallback->FindWindow(Title, ClassName);
}
bool TCommittingInputBackend::IsMinimized(TWindowId Window) { return Fallback->IsMinimized(Window); }
bool TCommittingInputBackend::RestoreWindow(TWindowId Window) { return Fallback->RestoreWindow(Window); }
bool TCommittingInputBackend::RaiseWindow(TWindowId Window) { return Fallback->RaiseWindow(Window); }
bool TCommittingInputBackend::IconifyWindow(TWindowId Window) { return Fallback->IconifyWindow(Window); }
std::uint32_t TCommittingInputBackend::TickCount() { return Fallback->TickCount(); }
void TCommittingInputBackend::BeginActions()
{
    if (Fallback)
        Fallback->BeginActions();
}
void TCommittingInputBackend::EndActions()
{
    if (Fallback)
        Fallback->EndActions();
}
