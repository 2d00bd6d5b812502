#include "X11Tools.h"

#include "Sendkeys.h"

#include <QFileInfo>

#include <csignal>
#include <stdexcept>

// After Qt: Xlib's macros would clash with names in its headers.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

TXServerProbe::TXServerProbe()
    : Connection(XOpenDisplay(nullptr))
{
    if (!Connection)
        throw std::runtime_error("the tests cannot open the display");
}

TXServerProbe::~TXServerProbe() { XCloseDisplay(Connection); }

std::vector<int> TXServerProbe::KeysDown()
{
    char Keys[32] = {};
    XQueryKeymap(Connection, Keys);
    std::vector<int> Down;
    for (int Keycode = 0; Keycode < 256; ++Keycode)
        if (Keys[Keycode / 8] & (1 << (Keycode % 8)))
            Down.push_back(Keycode);
    return Down;
}

std::string TXServerProbe::ModifiersHeld()
{
    XkbStateRec State {};
    XkbGetState(Connection, XkbUseCoreKbd, &State);
    const unsigned Held = State.base_mods | State.latched_mods;
    static const char* const Names[] = {"Shift", "Lock", "Control", "Mod1", "Mod2", "Mod3", "Mod4", "Mod5"};
    std::string Result;
    for (int Bit = 0; Bit < 8; ++Bit)
        if (Held & (1u << Bit))
            Result += std::string(Result.empty() ? "" : " ") + Names[Bit];
    return Result;
}

void TXServerProbe::LockGroup(int Group)
{
    XkbLockGroup(Connection, XkbUseCoreKbd, unsigned(Group));
    XSync(Connection, False);
}

void TXServerProbe::SetNumLock(bool On)
{
    const unsigned Mask = XkbKeysymToModifiers(Connection, XK_Num_Lock);
    XkbLockModifiers(Connection, XkbUseCoreKbd, Mask, On ? Mask : 0);
    XSync(Connection, False);
}

int TXServerProbe::ActiveGroup()
{
    XkbStateRec State {};
    XkbGetState(Connection, XkbUseCoreKbd, &State);
    return State.group;
}

void TXServerProbe::SetCapsLock(bool On)
{
    XkbLockModifiers(Connection, XkbUseCoreKbd, LockMask, On ? LockMask : 0);
    XSync(Connection, False);
}

int TXServerProbe::KeysTyping(char32_t Character)
{
    XkbDescPtr Keymap = XkbGetMap(Connection, XkbAllClientInfoMask, XkbUseCoreKbd);
    if (!Keymap)
        return 0;
    const KeySym Wanted = Character < 0x100 ? KeySym(Character) : KeySym(0x01000000 | Character);
    int Count = 0;
    for (int Keycode = Keymap->min_key_code; Keycode <= Keymap->max_key_code; ++Keycode) {
        bool Carries = false;
        for (int Group = 0; Group < XkbKeyNumGroups(Keymap, Keycode); ++Group)
            for (int Level = 0; Level < XkbKeyGroupWidth(Keymap, Keycode, Group); ++Level)
                Carries = Carries || XkbKeySymEntry(Keymap, Keycode, Level, Group) == Wanted;
        Count += Carries;
    }
    XkbFreeKeyboard(Keymap, 0, True);
    return Count;
}

bool TXServerProbe::FocusIsIn(unsigned long Target)
{
    Window Focus = 0;
    int Revert = 0;
    XGetInputFocus(Connection, &Focus, &Revert);
    while (Focus > PointerRoot) {
        if (Focus == Target)
            return true;
        Window Root, Parent = 0, *Children = nullptr;
        unsigned Count = 0;
        if (!XQueryTree(Connection, Focus, &Root, &Parent, &Children, &Count))
            return false;
        if (Children)
            XFree(Children);
        Focus = Parent;
    }
    return false;
}

TChildProcess::~TChildProcess()
{
    if (state() != NotRunning) {
        kill();
        waitForFinished();
    }
}

void TChildProcess::Signal(int Number)
{
    if (state() != NotRunning)
        ::kill(pid_t(processId()), Number);
}

bool SetLayout(const std::string& Layout)
{
    const QStringList Parts = QString::fromStdString(Layout).split(':');
    QStringList Arguments {"-layout", Parts[0]};
    if (Parts.size() > 1)
        Arguments << "-variant" << Parts[1];
    return QProcess::execute("setxkbmap", Arguments) == 0;
}

std::string KeymapDump()
{
    QProcess Xkbcomp;
    Xkbcomp.setStandardErrorFile(QProcess::nullDevice());
    Xkbcomp.start("xkbcomp", {"-xkb", qEnvironmentVariable("DISPLAY"), "-"});
    Xkbcomp.waitForFinished();
    return Xkbcomp.readAllStandardOutput().toStdString();
}

TXtermTarget::TXtermTarget(const std::string& Title)
{
    const QString Ready = Directory.filePath("ready");
    auto Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert("LANG", "C.UTF-8");
    Environment.insert("LC_ALL", "C.UTF-8");
    Terminal.setProcessEnvironment(Environment);
    Terminal.setProcessChannelMode(QProcess::MergedChannels);
    Terminal.setStandardOutputFile(Directory.filePath("xterm.log"));
    Terminal.start("xterm", {"-title", QString::fromLatin1(Title), "-geometry", "80x10", "-e", "sh", "-c",
        "stty raw -echo && : > " + Ready + " && exec cat > " + Directory.filePath("received")});
    WaitFor([&] {
        WindowHandle = GetHandleFromWindowTitle(Title);
        return WindowHandle != 0 && QFileInfo::exists(Ready);
    });
    if (!QFileInfo::exists(Ready))
        WindowHandle = 0;
}

bool TXtermTarget::Focus()
{
    // A window manager busy with keymap changes may take its time; ask again until it obliges.
    return WaitFor(
        [&] {
            CurrentInputBackend()->RaiseWindow(WindowHandle);
            return Server.FocusIsIn(WindowHandle);
        },
        30000);
}

std::string TXtermTarget::WaitForText(std::size_t Bytes)
{
    WaitFor([&] { return QFileInfo(Directory.filePath("received")).size() >= qint64(Bytes); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return Received();
}

std::string TXtermTarget::Received() const
{
    return Contents(Directory.filePath("received")).toStdString();
}
