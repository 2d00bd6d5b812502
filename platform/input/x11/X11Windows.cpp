#include "X11Windows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace {

constexpr long WmStateIconic = 3;
constexpr long SourcePager = 2;

// WM_NAME of type STRING is Latin-1; titles are compared in UTF-8.
std::string Utf8FromLatin1(const std::string& Text)
{
    std::string Result;
    for (unsigned char Character : Text) {
        if (Character < 0x80) {
            Result += char(Character);
        } else {
            Result += char(0xC0 | (Character >> 6));
            Result += char(0x80 | (Character & 0x3F));
        }
    }
    return Result;
}

} // namespace

TX11Windows::TX11Windows(Display* Connection)
    : Connection(Connection)
    , Root(DefaultRootWindow(Connection))
{
    NetClientListStacking = XInternAtom(Connection, "_NET_CLIENT_LIST_STACKING", False);
    NetWmName = XInternAtom(Connection, "_NET_WM_NAME", False);
    Utf8String = XInternAtom(Connection, "UTF8_STRING", False);
    WmState = XInternAtom(Connection, "WM_STATE", False);
    NetWmState = XInternAtom(Connection, "_NET_WM_STATE", False);
    NetWmStateHidden = XInternAtom(Connection, "_NET_WM_STATE_HIDDEN", False);
    NetActiveWindow = XInternAtom(Connection, "_NET_ACTIVE_WINDOW", False);
    NetSupportingWmCheck = XInternAtom(Connection, "_NET_SUPPORTING_WM_CHECK", False);
}

std::vector<unsigned char> TX11Windows::Property(
    Window Client, Atom Name, Atom& Type, int& Format, unsigned long& Count)
{
    unsigned char* Data = nullptr;
    unsigned long After = 0;
    Type = None;
    Format = 0;
    Count = 0;
    std::vector<unsigned char> Result;
    if (XGetWindowProperty(Connection, Client, Name, 0, 1L << 16, False, AnyPropertyType, &Type, &Format,
            &Count, &After, &Data) != Success)
        return Result;
    if (Data) {
        const std::size_t Bytes = Format == 32 ? Count * sizeof(long) : Count * (Format / 8);
        Result.assign(Data, Data + Bytes);
        XFree(Data);
    }
    return Result;
}

bool TX11Windows::HasWindowManager()
{
    Atom Type;
    int Format;
    unsigned long Count;
    auto Data = Property(Root, NetSupportingWmCheck, Type, Format, Count);
    if (Format != 32 || Count < 1)
        return false;
    Window Check = 0;
    std::copy_n(Data.data(), sizeof(long), reinterpret_cast<unsigned char*>(&Check));
    return Exists(Check);
}

bool TX11Windows::Exists(Window Client)
{
    XWindowAttributes Attributes;
    return Client && XGetWindowAttributes(Connection, Client, &Attributes);
}

bool TX11Windows::IsOnScreen(Window Client)
{
    XWindowAttributes Attributes;
    return Client && XGetWindowAttributes(Connection, Client, &Attributes) && Attributes.map_state == IsViewable;
}

Window TX11Windows::ClientBelow(Window Frame, int Depth)
{
    Atom Type;
    int Format;
    unsigned long Count;
    Property(Frame, WmState, Type, Format, Count);
    if (Type == WmState)
        return Frame;
    if (Depth == 0)
        return 0;
    Window RootReturn, Parent, *Children = nullptr;
    unsigned int ChildCount = 0;
    if (!XQueryTree(Connection, Frame, &RootReturn, &Parent, &Children, &ChildCount))
        return 0;
    Window Found = 0;
    for (unsigned int Index = ChildCount; Index-- > 0 && !Found;)
        Found = ClientBelow(Children[Index], Depth - 1);
    if (Children)
        XFree(Children);
    return Found;
}

std::vector<Window> TX11Windows::ClientWindows()
{
    std::vector<Window> Clients;
    Atom Type;
    int Format;
    unsigned long Count;
    auto Stacking = Property(Root, NetClientListStacking, Type, Format, Count);
    if (Format == 32 && HasWindowManager()) {
        const auto* Ids = reinterpret_cast<const long*>(Stacking.data());
        for (unsigned long Index = Count; Index-- > 0;)
            Clients.push_back(Window(Ids[Index]));
    }
    // Windows the manager does not list, and every window when there is no manager: the root's
    // children from the top, each replaced by the client inside it when it is a frame.
    Window RootReturn, Parent, *Children = nullptr;
    unsigned int ChildCount = 0;
    if (XQueryTree(Connection, Root, &RootReturn, &Parent, &Children, &ChildCount)) {
        for (unsigned int Index = ChildCount; Index-- > 0;) {
            Window Client = ClientBelow(Children[Index], 3);
            if (!Client)
                Client = Children[Index];
            if (std::find(Clients.begin(), Clients.end(), Client) == Clients.end())
                Clients.push_back(Client);
        }
        if (Children)
            XFree(Children);
    }
    return Clients;
}

bool TX11Windows::TitleMatches(Window Client, const std::string& TitleUtf8)
{
    Atom Type;
    int Format;
    unsigned long Count;
    auto Name = Property(Client, NetWmName, Type, Format, Count);
    if (Type == Utf8String && Format == 8)
        return std::string(Name.begin(), Name.end()) == TitleUtf8;
    Name = Property(Client, XA_WM_NAME, Type, Format, Count);
    if (Format != 8 || Type == None)
        return false;
    const std::string Text(Name.begin(), Name.end());
    return Type == Utf8String ? Text == TitleUtf8 : Utf8FromLatin1(Text) == TitleUtf8;
}

bool TX11Windows::ClassMatches(Window Client, const std::string& ClassName)
{
    XClassHint Hint {};
    if (!XGetClassHint(Connection, Client, &Hint))
        return false;
    const bool Matches = (Hint.res_name && ClassName == Hint.res_name) || (Hint.res_class && ClassName == Hint.res_class);
    XFree(Hint.res_name);
    XFree(Hint.res_class);
    return Matches;
}

Window TX11Windows::Find(const std::string& TitleUtf8, const std::string& ClassName)
{
    for (Window Client : ClientWindows()) {
        if (TitleMatches(Client, TitleUtf8) && (ClassName.empty() || ClassMatches(Client, ClassName)))
            return Client;
    }
    return 0;
}

bool TX11Windows::IsIconic(Window Client)
{
    if (!Exists(Client))
        return false;
    Atom Type;
    int Format;
    unsigned long Count;
    auto State = Property(Client, WmState, Type, Format, Count);
    if (Type == WmState && Format == 32 && Count >= 1 && reinterpret_cast<const long*>(State.data())[0] == WmStateIconic)
        return true;
    auto NetState = Property(Client, NetWmState, Type, Format, Count);
    const auto* Atoms = reinterpret_cast<const long*>(NetState.data());
    return Format == 32 && std::find(Atoms, Atoms + Count, long(NetWmStateHidden)) != Atoms + Count;
}

bool TX11Windows::HasFocus(Window Client)
{
    Window Focus = 0;
    int Revert = 0;
    XGetInputFocus(Connection, &Focus, &Revert);
    // The focus may sit on a child of the client (xterm's text area, a toolkit's focus proxy).
    while (Focus && Focus != PointerRoot && Focus != Root) {
        if (Focus == Client)
            return true;
        Window RootReturn, Parent = 0, *Children = nullptr;
        unsigned int ChildCount = 0;
        if (!XQueryTree(Connection, Focus, &RootReturn, &Parent, &Children, &ChildCount))
            return false;
        if (Children)
            XFree(Children);
        Focus = Parent;
    }
    return false;
}

void TX11Windows::Activate(Window Client)
{
    if (HasWindowManager()) {
        XEvent Event {};
        Event.xclient.type = ClientMessage;
        Event.xclient.window = Client;
        Event.xclient.message_type = NetActiveWindow;
        Event.xclient.format = 32;
        Event.xclient.data.l[0] = SourcePager;
        Event.xclient.data.l[1] = CurrentTime;
        XSendEvent(Connection, Root, False, SubstructureRedirectMask | SubstructureNotifyMask, &Event);
        XFlush(Connection);
    } else {
        XRaiseWindow(Connection, Client);
        XFlush(Connection);
    }
}

void TX11Windows::GiveFocus(Window Client)
{
    XSetInputFocus(Connection, Client, RevertToParent, CurrentTime);
    XFlush(Connection);
}

bool TX11Windows::Restore(Window Client)
{
    if (!Exists(Client))
        return false;
    XMapRaised(Connection, Client);
    Activate(Client);
    return true;
}

bool TX11Windows::Iconify(Window Client)
{
    if (!Exists(Client))
        return false;
    XIconifyWindow(Connection, Client, DefaultScreen(Connection));
    XFlush(Connection);
    return true;
}

bool TX11Windows::BringToTop(Window Client)
{
    if (!Exists(Client))
        return false;
    XRaiseWindow(Connection, Client);
    Activate(Client);
    return true;
}
