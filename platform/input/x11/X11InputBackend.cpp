#include "X11InputBackend.h"

#include "X11DisplayLock.h"
#include "X11ErrorTrap.h"
#include "X11Keymap.h"
#include "X11SpareKeys.h"
#include "X11Windows.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <thread>
#include <utility>
#include <vector>
#include <ctime>
#include <map>
#include <optional>

namespace {

// The keysym of every named key: the key that carries it at its first level is pressed.
constexpr TKeysym NamedKeysyms[nkNamedKeyCount] = {
    XK_BackSpace, XK_Tab, XK_Return, XK_Escape, XK_space, XK_Delete, XK_Insert,
    XK_Home, XK_End, XK_Prior, XK_Next, XK_Left, XK_Up, XK_Right, XK_Down,
    XK_F1, XK_F2, XK_F3, XK_F4, XK_F5, XK_F6, XK_F7, XK_F8, XK_F9, XK_F10, XK_F11, XK_F12,
    XK_F13, XK_F14, XK_F15, XK_F16, XK_F17, XK_F18, XK_F19, XK_F20, XK_F21, XK_F22, XK_F23, XK_F24,
    XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R, XK_Alt_L, XK_ISO_Level3_Shift, XK_Super_L, XK_Menu,
    XK_Caps_Lock, XK_Num_Lock, XK_Scroll_Lock, XK_Pause, XK_Print,
    XK_KP_Insert, XK_KP_End, XK_KP_Down, XK_KP_Next, XK_KP_Left, XK_KP_Begin, XK_KP_Right, XK_KP_Home,
    XK_KP_Up, XK_KP_Prior, XK_KP_Multiply, XK_KP_Add, XK_KP_Subtract, XK_KP_Delete,
    XK_KP_Divide, XK_KP_Enter,
};

// The keycodes a live KIVO says it holds down (a property on its owner window).
std::vector<int> KeysHeldBy(Display* Connection, Window Owner, Atom HeldKeys)
{
    std::vector<int> Keycodes;
    Atom Type = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    if (XGetWindowProperty(Connection, Owner, HeldKeys, 0, 256, False, XA_CARDINAL, &Type, &Format, &Count, &After, &Data) == Success
        && Data && Format == 32)
        for (unsigned long Index = 0; Index < Count; ++Index)
            Keycodes.push_back(int(reinterpret_cast<const unsigned long*>(Data)[Index]));
    if (Data)
        XFree(Data);
    return Keycodes;
}

// Releases the keys that the XTest keyboard still holds down for nobody: a KIVO killed while
// it held Shift for a key string leaves it down for everyone. Keys that a live KIVO holds stay
// down, and only that device is asked, so keys the user holds on a real keyboard stay too.
void ReleaseKeysLeftDown(Display* Connection, const std::vector<Window>& LiveOwners, Atom HeldKeys)
{
    std::vector<int> StillHeld;
    {
        TX11ErrorTrap Trap(Connection, "asking what other KIVOs hold");
        for (const Window Owner : LiveOwners) {
            const auto Keycodes = KeysHeldBy(Connection, Owner, HeldKeys);
            StillHeld.insert(StillHeld.end(), Keycodes.begin(), Keycodes.end());
        }
        Trap.Failed();
    }
    int Opcode = 0, Event = 0, Error = 0;
    if (!XQueryExtension(Connection, "XInputExtension", &Opcode, &Event, &Error))
        return;
    TX11ErrorTrap Trap(Connection, "releasing keys left down");
    int Count = 0;
    XDeviceInfo* Devices = XListInputDevices(Connection, &Count);
    for (int Index = 0; Devices && Index < Count; ++Index) {
        if (!Devices[Index].name || std::strcmp(Devices[Index].name, "Virtual core XTEST keyboard") != 0)
            continue;
        XDevice* Device = XOpenDevice(Connection, Devices[Index].id);
        if (!Device)
            continue;
        if (XDeviceState* State = XQueryDeviceState(Connection, Device)) {
            auto* Class = State->data;
            for (int Each = 0; Each < State->num_classes; ++Each) {
                if (Class->c_class == KeyClass) {
                    const auto* Keys = reinterpret_cast<const XKeyState*>(Class);
                    for (int Keycode = 8; Keycode < Keys->num_keys && Keycode < 256; ++Keycode)
                        if ((Keys->keys[Keycode / 8] & (1 << (Keycode % 8)))
                            && std::find(StillHeld.begin(), StillHeld.end(), Keycode) == StillHeld.end())
                            XTestFakeKeyEvent(Connection, unsigned(Keycode), False, CurrentTime);
                }
                Class = reinterpret_cast<XInputClass*>(reinterpret_cast<char*>(Class) + Class->length);
            }
            XFreeDeviceState(State);
        }
        XCloseDevice(Connection, Device);
    }
    if (Devices)
        XFreeDeviceList(Devices);
    Trap.FailedReported();
}

class TX11InputBackend final : public TInputBackend {
public:
    TX11InputBackend(Display* Connection, const std::string& DisplayName, std::shared_ptr<TOwnKeys> OwnKeys, TX11Scheduler Later);
    ~TX11InputBackend() override;
    bool Start(TUserText& Error);

    bool TypeCharacter(char32_t Character) override;
    void SendKey(TNamedKey Key, bool Press) override;
    bool SendCharacterKey(char32_t Character, bool Press) override;
    std::optional<TModifiers> ModifiersFor(char32_t Character) override;
    TWindowId FindWindow(const std::string& Title, const std::string& ClassName) override;
    bool IsMinimized(TWindowId Window) override;
    bool RestoreWindow(TWindowId Window) override;
    bool RaiseWindow(TWindowId Window) override;
    bool IconifyWindow(TWindowId Window) override;
    std::uint32_t TickCount() override;
    void BeginActions() override { ++Batches; }
    void EndActions() override
    {
        if (Batches > 0 && --Batches == 0)
            EndBatch();
    }

private:
    // Work on the keyboard and the windows, in the order it was asked for. It runs at once
    // unless something must wait: a spare key resting, another KIVO holding the keyboard, a
    // window not yet focused, the pause after a BackSpace. Then it runs later, through Later,
    // and the caller goes on: a click that comes meanwhile queues its own work behind.
    struct TWork {
        enum TKind : std::uint8_t { wkType, wkNamedKey, wkCharacterKey, wkRestore, wkRaise, wkIconify } Kind;
        char32_t Character = 0;
        TNamedKey Key = nkBackSpace;
        bool Press = false;
        Window Client = 0;
        // The modifiers held when the work was asked for, which frame a character typed whole.
        TModifiers HeldModifiers = 0;
    };
    void Queue(const TWork& Work);
    void RunQueue();
    TSpareClock::duration WaitBefore(const TWork& Work);
    void RunWork(const TWork& Work);
    bool TypeNow(char32_t Character, TModifiers HeldModifiers);
    void SendKeyNow(TNamedKey Key, bool Press);
    bool SendCharacterKeyNow(char32_t Character, bool Press);
    void AwaitFocus(Window Client);

    std::optional<TKeyPlace> PlaceFor(char32_t Character, bool MapSpare);
    KeyCode KeycodeOf(TNamedKey Key) const;
    void SendKeycode(KeyCode Keycode, bool Press);
    void LockGroupFor(const TKeyPlace& Place);
    void RestoreGroup();
    void ReleaseEverything();
    void AnnounceHeld();
    void EndBatch();

    Atom HeldKeysAtom = 0;
    // Told of every key press sent, so that the desktop observer knows KIVO's own keys.
    std::shared_ptr<TOwnKeys> OwnKeys;
    // Keeps two KIVOs on one display from interleaving their keys: the XTest keyboard, its
    // modifiers and the locked group are shared, so one KIVO's Shift would reach the other's
    // letter. Taken when the first key goes down, given back when the last is up.
    TX11DisplayLock KeyboardLock;
    bool AnotherKivoSeen = false;
    bool RecordChanged = false; // this KIVO's own changes too: checked when it matters
    Display* Connection = nullptr;
    TX11Keymap Keymap;
    TX11SpareKeys SpareKeys;
    TX11Windows Windows;
    bool AnyHeld() const { return !HeldKeycodes.empty(); }
    std::array<bool, 256> Held {};
    // The same keys as a list, in the order they went down: what AnnounceHeld says.
    std::vector<unsigned long> HeldKeycodes;
    // Inside Run: the key events go to the server together, when the last key is up or the
    // run ends (one write for a character and its modifiers, not one per event).
    int Batches = 0;
    bool KeysSent = false; // since the last EndBatch
    TSpareClock::time_point LastKeysEnd {};
    // Where a press went, so that its release goes there whatever changed in between.
    std::map<char32_t, KeyCode> PressedCharacters;
    std::array<KeyCode, nkNamedKeyCount> PressedNamed {};
    // A group locked for a key of another group: the active and locked group to go back to.
    struct TGroups {
        int Active = 0;
        int Locked = 0;
    };
    std::optional<TGroups> GroupToRestore;

    TX11Scheduler Later; // none: the calls wait themselves
    std::deque<TWork> Work;
    bool Running = false;
    bool WakeAsked = false;
    std::shared_ptr<bool> Alive = std::make_shared<bool>(true);
    TSpareClock::time_point NotBefore {};
    // A window asked to be activated: keys wait until it has the focus (or a while has passed).
    Window FocusAwaited = 0;
    bool FocusToGive = false;
    TSpareClock::time_point FocusDeadline {};
    TSpareClock::time_point KeyboardLockDeadline {};
};

// How long keys wait for a window to take the focus, and for another KIVO to give the keyboard
// back, before they go on regardless.
constexpr auto FocusPatience = std::chrono::milliseconds(500);
constexpr auto KeyboardPatience = std::chrono::milliseconds(500);
// Some programs (LibreOffice Writer 7) take a letter that follows a BackSpace within a
// millisecond or so before the BackSpace itself, so a composed letter replaced the bare one
// wrongly; 15 ms was measured enough. Only work queued right behind a BackSpace waits.
constexpr auto PauseAfterBackSpace = std::chrono::milliseconds(15);
// Keys typed after a pause (a click's) are waited for until the server has handled them, one
// round trip: on a busy processor the server then runs at once, not after the work that KIVO
// does next (the toolkit's release, repainting the key); measured on a loaded two-core machine,
// a click's key arrives about 0.1 ms sooner. Keys that follow keys within this time (a key string) go on unwaited: a round trip
// for each would halve their rate.
constexpr auto SettleAfterPause = std::chrono::milliseconds(10);

void TX11InputBackend::Queue(const TWork& Item)
{
    Work.push_back(Item);
    RunQueue();
}

void TX11InputBackend::RunQueue()
{
    if (Running)
        return;
    Running = true;
    while (!Work.empty()) {
        const auto Wait = WaitBefore(Work.front());
        if (Wait > TSpareClock::duration::zero()) {
            // What went before the wait (a BackSpace before its pause) goes out now.
            XFlush(Connection);
            if (!Later) {
                std::this_thread::sleep_for(Wait);
                Keymap.Refresh();
                continue;
            }
            if (!WakeAsked) {
                WakeAsked = true;
                const auto Milliseconds = std::max<long>(1, long(std::chrono::ceil<std::chrono::milliseconds>(Wait).count()));
                Later(int(Milliseconds), [this, Alive = std::weak_ptr<bool>(Alive)] {
                    if (Alive.expired())
                        return;
                    WakeAsked = false;
                    Keymap.Refresh();
                    BeginActions();
                    RunQueue();
                    EndActions();
                });
            }
            break;
        }
        const TWork Item = Work.front();
        Work.pop_front();
        RunWork(Item);
        if (!AnyHeld())
            KeyboardLock.Give(); // also when the work pressed nothing after all
    }
    Running = false;
}

TSpareClock::duration TX11InputBackend::WaitBefore(const TWork& Item)
{
    const auto Now = TSpareClock::now();
    if (Now < NotBefore)
        return NotBefore - Now;
    if (FocusAwaited) {
        TX11ErrorTrap Trap(Connection, "waiting for a window to take the focus");
        if (FocusToGive && (Windows.IsOnScreen(FocusAwaited) || Now >= FocusDeadline)) {
            FocusToGive = false;
            if (Windows.IsOnScreen(FocusAwaited))
                Windows.GiveFocus(FocusAwaited);
        }
        if (!FocusToGive && (Now >= FocusDeadline || Windows.HasFocus(FocusAwaited) || Trap.Failed()))
            FocusAwaited = 0;
        else
            return std::chrono::milliseconds(1);
    }
    const bool PressesKeys = Item.Kind == TWork::wkType || (Item.Press && (Item.Kind == TWork::wkNamedKey || Item.Kind == TWork::wkCharacterKey));
    if (!PressesKeys)
        return {};
    // The first key down takes the keyboard from other KIVOs on the display; one that holds it
    // (a modifier for a long key string) is waited for a while, then gone on without.
    if (!AnyHeld() && !KeyboardLock.TryTake()) {
        if (KeyboardLockDeadline == TSpareClock::time_point {})
            KeyboardLockDeadline = Now + KeyboardPatience;
        if (Now < KeyboardLockDeadline)
            return std::chrono::milliseconds(1);
    }
    KeyboardLockDeadline = {};
    if (Item.Kind != TWork::wkNamedKey) {
        const char32_t Character = Item.Character == '\n' ? U'\r' : Item.Character;
        if (!Keymap.Model().Find(Character, Keymap.Group(), Keymap.LockedModifiers()))
            if (const TKeysym Keysym = KeysymForCodePoint(Character))
                return SpareKeys.RestLeft(Keysym);
    }
    return {};
}

void TX11InputBackend::RunWork(const TWork& Item)
{
    switch (Item.Kind) {
    case TWork::wkType:
        if (!TypeNow(Item.Character, Item.HeldModifiers)) {
            char Name[16];
            std::snprintf(Name, sizeof Name, "U+%04X", unsigned(Item.Character));
            ReportToUser({ QT_TRANSLATE_NOOP("kivo", "the character %1 could not be typed after all"), { Name } });
        }
        break;
    case TWork::wkNamedKey:
        SendKeyNow(Item.Key, Item.Press);
        if (Item.Key == nkBackSpace && !Item.Press)
            NotBefore = TSpareClock::now() + PauseAfterBackSpace;
        break;
    case TWork::wkCharacterKey: SendCharacterKeyNow(Item.Character, Item.Press); break;
    case TWork::wkRestore:
    case TWork::wkRaise: {
        TX11ErrorTrap Trap(Connection, Item.Kind == TWork::wkRestore ? "restoring a window" : "raising a window");
        if ((Item.Kind == TWork::wkRestore ? Windows.Restore(Item.Client) : Windows.BringToTop(Item.Client)) && !Trap.Failed())
            AwaitFocus(Item.Client);
        break;
    }
    case TWork::wkIconify: {
        TX11ErrorTrap Trap(Connection, "iconifying a window");
        Windows.Iconify(Item.Client);
        Trap.FailedReported();
        break;
    }
    }
}

void TX11InputBackend::AwaitFocus(Window Client)
{
    FocusAwaited = Client;
    FocusToGive = Windows.NeedsFocusGiven();
    FocusDeadline = TSpareClock::now() + FocusPatience;
}

bool TX11InputBackend::TypeCharacter(char32_t Character)
{
    Keymap.Refresh();
    // The answer is the one the keyboard gives now: work queued before may still change it.
    const auto Place = PlaceFor(Character, false);
    if (!Place || (Place->Level3 && !Keymap.Model().Level3Key()))
        return false;
    Queue({TWork::wkType, Character, nkBackSpace, false, 0, ModifiersHeld()});
    return true;
}

void TX11InputBackend::SendKey(TNamedKey Key, bool Press)
{
    if (Key >= nkNamedKeyCount)
        return;
    if (Press)
        Keymap.Refresh();
    Queue({TWork::wkNamedKey, 0, Key, Press});
}

bool TX11InputBackend::SendCharacterKey(char32_t Character, bool Press)
{
    if (Press)
        Keymap.Refresh();
    if (Press && !PlaceFor(Character, false))
        return false;
    Queue({TWork::wkCharacterKey, Character, nkBackSpace, Press});
    return true;
}

TX11InputBackend::TX11InputBackend(Display* Connection, const std::string& DisplayName, std::shared_ptr<TOwnKeys> OwnKeys, TX11Scheduler Later)
    : OwnKeys(std::move(OwnKeys))
    , KeyboardLock(DisplayName, "keyboard")
    , Connection(Connection)
    , Keymap(Connection)
    , SpareKeys(Connection, Keymap, DisplayName)
    , Windows(Connection)
    , Later(std::move(Later))
{
}

bool TX11InputBackend::Start(TUserText& Error)
{
    // Keys sent while the user holds a physical key would otherwise be caught by an active grab.
    XTestGrabControl(Connection, True);
    if (!Keymap.Load(Error))
        return false;
    HeldKeysAtom = XInternAtom(Connection, "_KIVO_HELD_KEYS", False);
    // Another KIVO shows itself in the record of spare keys, at its start if not before.
    const Atom Record = XInternAtom(Connection, "_KIVO_SPARE_KEYS", False);
    XSelectInput(Connection, DefaultRootWindow(Connection), PropertyChangeMask);
    Keymap.OnOtherEvent = [this, Record](const XEvent& Event) {
        if (Event.type == PropertyNotify && Event.xproperty.atom == Record)
            RecordChanged = true;
    };
    const auto Others = SpareKeys.Start();
    AnotherKivoSeen = !Others.empty();
    ReleaseKeysLeftDown(Connection, Others, HeldKeysAtom);
    Keymap.ReadState();
    return true;
}

TX11InputBackend::~TX11InputBackend()
{
    {
        // What was asked for is done before the end: the waits are short.
        Later = nullptr;
        RunQueue();
        ReleaseEverything();
        SpareKeys.RestoreAll();
        XSync(Connection, False);
    }
    XCloseDisplay(Connection);
}

void TX11InputBackend::ReleaseEverything()
{
    for (int Keycode = 0; Keycode < 256; ++Keycode)
        if (Held[std::size_t(Keycode)])
            SendKeycode(KeyCode(Keycode), false);
    RestoreGroup();
    PressedCharacters.clear();
    PressedNamed.fill(0);
}

// Says on the owner window which keys this KIVO holds down, so that a KIVO starting beside it
// releases only the keys that a dead one left down. A press is announced before it is sent,
// a release after, so that a key down is always announced.
void TX11InputBackend::AnnounceHeld()
{
    if (!SpareKeys.OwnerWindow())
        return;
    XChangeProperty(Connection, SpareKeys.OwnerWindow(), HeldKeysAtom, XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(HeldKeycodes.data()), int(HeldKeycodes.size()));
}

void TX11InputBackend::SendKeycode(KeyCode Keycode, bool Press)
{
    const bool Changed = Held[Keycode] != Press;
    // Waited for before the work began (see WaitBefore): taken now if it is free.
    if (Press && !AnyHeld())
        KeyboardLock.TryTake();
    Held[Keycode] = Press;
    if (Changed && Press)
        HeldKeycodes.push_back(Keycode);
    else if (Changed)
        std::erase(HeldKeycodes, static_cast<unsigned long>(Keycode));
    if (Press && Changed)
        AnnounceHeld();
    if (Press && OwnKeys)
        OwnKeys->Sent();
    XTestFakeKeyEvent(Connection, Keycode, Press ? True : False, CurrentTime);
    KeysSent = true;
    if (!Press && Changed)
        AnnounceHeld();
    // Inside Run the events go out together, at the latest when the last key is up: before
    // the keyboard is given back to other KIVOs.
    if (!Batches || (!Press && !AnyHeld()))
        XFlush(Connection);
    if (!Press && !AnyHeld()) {
        // Another KIVO may go on once the server has these events (a round trip, paid only
        // while another KIVO has been seen on the display).
        if (RecordChanged) {
            RecordChanged = false;
            AnotherKivoSeen = SpareKeys.AnotherAlive();
        }
        if (AnotherKivoSeen)
            XSync(Connection, False);
        KeyboardLock.Give();
    }
}

// The end of the outermost run: its keys go to the server, and after a pause are waited for
// (see SettleAfterPause), which also reports an X error of theirs as one of typing.
void TX11InputBackend::EndBatch()
{
    const bool Typed = std::exchange(KeysSent, false);
    const auto Now = TSpareClock::now();
    const bool AfterPause = Typed && Now - LastKeysEnd >= SettleAfterPause;
    if (Typed)
        LastKeysEnd = Now;
    if (!AfterPause) {
        XFlush(Connection);
        return;
    }
    TX11ErrorTrap Trap(Connection, "typing");
    Trap.FailedReported();
}

void TX11InputBackend::LockGroupFor(const TKeyPlace& Place)
{
    if (Place.Group == Keymap.Group() || GroupToRestore)
        return;
    // The group to go back to is known exactly: the state is known after the last restore.
    GroupToRestore = TGroups {Keymap.Group(), Keymap.LockedGroup()};
    XkbLockGroup(Connection, XkbUseCoreKbd, unsigned(Place.Group));
}

void TX11InputBackend::RestoreGroup()
{
    if (!GroupToRestore)
        return;
    // The state is the one before the lock again; no need to ask the server for it (a round
    // trip per character of the other group).
    const unsigned long Restoring = NextRequest(Connection);
    XkbLockGroup(Connection, XkbUseCoreKbd, unsigned(GroupToRestore->Locked));
    Keymap.AssumeGroups(GroupToRestore->Active, GroupToRestore->Locked, Restoring);
    GroupToRestore.reset();
}

// The keymap as the last Refresh left it: each call from outside, and each wake of the queue,
// takes in the server's notifications once (a read on the socket); the steps of one call do not
// read again.
std::optional<TKeyPlace> TX11InputBackend::PlaceFor(char32_t Character, bool MapSpare)
{
    if (Character == '\n')
        Character = '\r';
    if (auto Place = Keymap.Model().Find(Character, Keymap.Group(), Keymap.LockedModifiers()))
        return Place;
    const TKeysym Keysym = KeysymForCodePoint(Character);
    if (!Keysym)
        return std::nullopt;
    if (!MapSpare)
        return SpareKeys.Predict(Keysym, Keymap.LockedModifiers());
    if (!SpareKeys.Acquire(Keysym))
        return std::nullopt;
    return Keymap.Model().Find(Character, Keymap.Group(), Keymap.LockedModifiers());
}

std::optional<TModifiers> TX11InputBackend::ModifiersFor(char32_t Character)
{
    Keymap.Refresh();
    const auto Place = PlaceFor(Character, false);
    if (!Place)
        return std::nullopt;
    return TModifiers((Place->Shift ? mfShift : 0) | (Place->Level3 ? mfAltGr : 0));
}

bool TX11InputBackend::SendCharacterKeyNow(char32_t Character, bool Press)
{
    if (!Press) {
        const auto Pressed = PressedCharacters.find(Character);
        if (Pressed == PressedCharacters.end())
            return false;
        SendKeycode(Pressed->second, false);
        PressedCharacters.erase(Pressed);
        if (PressedCharacters.empty())
            RestoreGroup();
        return true;
    }
    const auto Place = PlaceFor(Character, true);
    if (!Place)
        return false;
    LockGroupFor(*Place);
    SendKeycode(Place->Keycode, true);
    SpareKeys.Touch(Place->Keycode);
    PressedCharacters[Character] = Place->Keycode;
    return true;
}

bool TX11InputBackend::TypeNow(char32_t Character, TModifiers HeldModifiers)
{
    // The key is set up first, a spare one mapped if need be, so that the frame is that of the
    // key which is then pressed, not a prediction.
    const auto Place = PlaceFor(Character, true);
    if (!Place || (Place->Level3 && !Keymap.Model().Level3Key()))
        return false;
    TKeyActions Actions;
    AppendFramedCharacter(Actions, Character, TModifiers((Place->Shift ? mfShift : 0) | (Place->Level3 ? mfAltGr : 0)),
        HeldModifiers);
    // Run here, not through the queue: this is the queue's own turn.
    bool Typed = true;
    for (const TKeyAction& Action : Actions) {
        switch (Action.Kind) {
        case kakPressKey:
        case kakReleaseKey: SendKeyNow(Action.Key, Action.Kind == kakPressKey); break;
        case kakPressCharacterKey: Typed = SendCharacterKeyNow(Character, true) && Typed; break;
        case kakReleaseCharacterKey: SendCharacterKeyNow(Character, false); break;
        case kakTypeCharacter: break;
        }
    }
    return Typed;
}

KeyCode TX11InputBackend::KeycodeOf(TNamedKey Key) const
{
    const TX11KeymapModel& Model = Keymap.Model();
    if (Key == nkAltGr) {
        // Level 3 where the layout has it, else the right Alt key.
        if (const KeyCode Level3 = Model.Level3Key())
            return Level3;
        return Model.KeycodeOf(XK_Alt_R);
    }
    KeyCode Keycode = Model.KeycodeOf(NamedKeysyms[Key]);
    if (!Keycode && Key == nkRightShift)
        Keycode = Model.KeycodeOf(XK_Shift_L);
    if (!Keycode && Key == nkRightControl)
        Keycode = Model.KeycodeOf(XK_Control_L);
    return Keycode;
}

void TX11InputBackend::SendKeyNow(TNamedKey Key, bool Press)
{
    if (!Press) {
        if (const KeyCode Keycode = PressedNamed[Key]) {
            SendKeycode(Keycode, false);
            PressedNamed[Key] = 0;
        }
        return;
    }
    if (const KeyCode Keycode = KeycodeOf(Key)) {
        SendKeycode(Keycode, true);
        PressedNamed[Key] = Keycode;
    }
}

TWindowId TX11InputBackend::FindWindow(const std::string& Title, const std::string& ClassName)
{
    TX11ErrorTrap Trap(Connection, "finding a window");
    return TWindowId(Windows.Find(Title, ClassName));
}

bool TX11InputBackend::IsMinimized(TWindowId Window)
{
    TX11ErrorTrap Trap(Connection, "asking whether a window is minimized");
    return Windows.IsIconic(Window);
}

bool TX11InputBackend::RestoreWindow(TWindowId Window)
{
    TX11ErrorTrap Trap(Connection, "looking for a window to restore");
    if (!Windows.Exists(Window) || Trap.Failed())
        return false;
    Queue({TWork::wkRestore, 0, nkBackSpace, false, Window});
    return true;
}

bool TX11InputBackend::RaiseWindow(TWindowId Window)
{
    TX11ErrorTrap Trap(Connection, "looking for a window to raise");
    if (!Windows.Exists(Window) || Trap.Failed())
        return false;
    Queue({TWork::wkRaise, 0, nkBackSpace, false, Window});
    return true;
}

bool TX11InputBackend::IconifyWindow(TWindowId Window)
{
    TX11ErrorTrap Trap(Connection, "looking for a window to iconify");
    if (!Windows.Exists(Window) || Trap.Failed())
        return false;
    Queue({TWork::wkIconify, 0, nkBackSpace, false, Window});
    return true;
}

std::uint32_t TX11InputBackend::TickCount()
{
    timespec Now {};
    clock_gettime(CLOCK_MONOTONIC, &Now);
    const auto Milliseconds = std::uint64_t(Now.tv_sec) * 1000 + std::uint64_t(Now.tv_nsec) / 1000000;
    return std::uint32_t(Milliseconds); // wraps after 49.7 days
}

} // namespace

std::unique_ptr<TInputBackend> CreateX11InputBackend(TUserText& ErrorMessage, std::shared_ptr<TOwnKeys> OwnKeys, TX11Scheduler Later)
{
    const char* Name = XDisplayName(nullptr);
    const std::string DisplayName = Name ? Name : "";
    Display* Connection = XOpenDisplay(nullptr);
    if (!Connection) {
        ErrorMessage = DisplayName.empty()
            ? TUserText { QT_TRANSLATE_NOOP("kivo", "cannot open a display: DISPLAY is not set; start KIVO from a desktop session"), {} }
            : TUserText { QT_TRANSLATE_NOOP("kivo", "cannot open display %1: is an X server running and DISPLAY set?"), { DisplayName } };
        return nullptr;
    }
    int EventBase = 0, ErrorBase = 0, Major = 0, Minor = 0;
    if (!XTestQueryExtension(Connection, &EventBase, &ErrorBase, &Major, &Minor)) {
        XCloseDisplay(Connection);
        ErrorMessage = { QT_TRANSLATE_NOOP("kivo", "the X server %1 has no XTest extension, so no keys can be typed"), { DisplayName } };
        return nullptr;
    }
    int Opcode = 0, XkbEvent = 0, XkbError = 0, XkbMajor = XkbMajorVersion, XkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(Connection, &Opcode, &XkbEvent, &XkbError, &XkbMajor, &XkbMinor)) {
        XCloseDisplay(Connection);
        ErrorMessage = { QT_TRANSLATE_NOOP("kivo", "the X server %1 has no XKEYBOARD extension, so its layout cannot be read"), { DisplayName } };
        return nullptr;
    }
    // Xlib would end the process on a broken connection; the server that could take the spare
    // keys back is then gone or unreachable, and the next KIVO to start repairs what is left.
    XSetIOErrorExitHandler(Connection, [](Display*, void*) {
        ReportToUser({ QT_TRANSLATE_NOOP("kivo", "the connection to the X server broke; no more keys can be typed"), {} });
    }, nullptr);
    auto Backend = std::make_unique<TX11InputBackend>(Connection, XDisplayString(Connection), std::move(OwnKeys), std::move(Later));
    if (!Backend->Start(ErrorMessage)) {
        ErrorMessage.Details.insert(ErrorMessage.Details.begin(), DisplayName);
        return nullptr;
    }
    return Backend;
}
