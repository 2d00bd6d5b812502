#include "X11SpareKeys.h"

#include "X11ErrorTrap.h"
#include "X11Keymap.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>

#include <algorithm>
#include <random>
#include <thread>

namespace {

constexpr std::size_t RecordLength = 8; // keycode, owner, token (two values), four keysyms

// The server's map with what the model needs (type names included); null if it gave none.
XkbDescPtr ReadMap(Display* Connection)
{
    XkbDescPtr Map = XkbGetMap(Connection, XkbAllClientInfoMask, XkbUseCoreKbd);
    if (Map && (XkbGetNames(Connection, XkbKeyNamesMask | XkbKeyTypeNamesMask, Map) != Success || !Map->map)) {
        XkbFreeKeyboard(Map, 0, True);
        return nullptr;
    }
    return Map;
}

} // namespace

std::optional<TSparePlan> PlanSpare(const std::vector<TSpare>& Spares, TKeysym Lower, int Halves, TSpareClock::time_point Now)
{
    for (const auto& Spare : Spares)
        for (int Half = 0; Half < Halves; ++Half)
            if (Spare.Halves[std::size_t(Half)].Lower == Lower)
                return TSparePlan {Spare.Keycode, Half, false, {}};
    for (int Half = 0; Half < Halves; ++Half)
        for (const auto& Spare : Spares)
            if (!Spare.Halves[std::size_t(Half)].Lower && (Half == 0 || Spare.Halves[0].Lower))
                return TSparePlan {Spare.Keycode, Half, true, {}};
    const TSpare* Chosen = nullptr;
    int ChosenHalf = 0;
    for (const auto& Spare : Spares)
        for (int Half = 0; Half < Halves; ++Half)
            if (!Chosen || Spare.Halves[std::size_t(Half)].LastUsed < Chosen->Halves[std::size_t(ChosenHalf)].LastUsed) {
                Chosen = &Spare;
                ChosenHalf = Half;
            }
    if (!Chosen)
        return std::nullopt;
    const auto Rested = Now - Chosen->Halves[std::size_t(ChosenHalf)].LastUsed;
    const auto Wait = Rested < SpareRestTime ? SpareRestTime - Rested : TSpareClock::duration {};
    return TSparePlan {Chosen->Keycode, ChosenHalf, true, Wait};
}

std::optional<TKeyPlace> PlaceOnSpare(const TX11KeymapModel& Model, const TSpare& Spare, const TSparePlan& Plan, TKeysym Keysym, unsigned LockedModifiers)
{
    const bool FourLevels = Plan.Half == 1 || Spare.Halves[1].Lower;
    const int TypeIndex = Model.TypeIndex(FourLevels ? "FOUR_LEVEL_ALPHABETIC" : "ALPHABETIC");
    if (TypeIndex < 0)
        return std::nullopt;
    const TX11KeyType& Type = Model.Types[std::size_t(TypeIndex)];
    const TCasePair Pair = CasePairOf(Keysym);
    const int Base = Plan.Half * 2;
    std::optional<TKeyPlace> Best;
    for (int Level = Base; Level < Base + 2; ++Level) {
        const bool Wanted = Pair.Lower == Pair.Upper || (Level == Base) == (Keysym == Pair.Lower);
        if (!Wanted)
            continue;
        if (const auto Frame = FrameForLevel(Type, Level, LockedModifiers, Model.Level3Mask())) {
            const TKeyPlace Place {Plan.Keycode, 0, Frame->Shift, Frame->Level3};
            if (!Best || (Place.Shift + 2 * Place.Level3) < (Best->Shift + 2 * Best->Level3))
                Best = Place;
        }
    }
    return Best;
}

TX11SpareKeys::TX11SpareKeys(Display* Connection, TX11Keymap& Keymap, const std::string& DisplayName)
    : Connection(Connection)
    , Keymap(Keymap)
    , RecordLock(DisplayName, "spare-keys")
    , Mapping(Connection)
    , Root(DefaultRootWindow(Connection))
    , Registry(XInternAtom(Connection, "_KIVO_SPARE_KEYS", False))
    , TokenAtom(XInternAtom(Connection, "_KIVO_OWNER_TOKEN", False))
{
    std::random_device Random;
    // Never 0: a record of zeros or a property that cannot be read matches no token. 31 bits
    // each: Xlib hands 32-bit property values back as a signed long.
    Token = {(Random() & 0x7FFFFFFFu) | 1u, Random() & 0x7FFFFFFFu};
}

std::vector<TX11SpareKeys::TRecord> TX11SpareKeys::ReadRecords()
{
    std::vector<TRecord> Records;
    Atom Type = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    TX11ErrorTrap Trap(Connection, "reading the spare-key record");
    if (XGetWindowProperty(Connection, Root, Registry, 0, long(RecordLength * 256), False, XA_CARDINAL, &Type, &Format,
            &Count, &After, &Data) == Success
        && Data && Type == XA_CARDINAL && Format == 32) {
        const auto* Values = reinterpret_cast<const unsigned long*>(Data);
        for (std::size_t Index = 0; Index + RecordLength <= Count; Index += RecordLength)
            Records.push_back({Values[Index], Values[Index + 1], {Values[Index + 2], Values[Index + 3]},
                {Values[Index + 4], Values[Index + 5], Values[Index + 6], Values[Index + 7]}});
    }
    if (Data)
        XFree(Data);
    return Records;
}

void TX11SpareKeys::WriteRecords(const std::vector<TRecord>& Records)
{
    if (Records.empty()) {
        XDeleteProperty(Connection, Root, Registry);
        return;
    }
    std::vector<unsigned long> Values;
    for (const auto& Record : Records) {
        Values.push_back(Record.Keycode);
        Values.push_back(Record.Owner);
        Values.insert(Values.end(), Record.Token.begin(), Record.Token.end());
        Values.insert(Values.end(), Record.Keysyms.begin(), Record.Keysyms.end());
    }
    XChangeProperty(Connection, Root, Registry, XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(Values.data()), int(Values.size()));
}

bool TX11SpareKeys::OwnerAlive(const TRecord& Record)
{
    if (Ours(Record))
        return true;
    if (Record.Owner == Owner)
        return false; // this KIVO's window, with a dead one's record
    TX11ErrorTrap Trap(Connection, "looking for a spare key's owner");
    Atom Type = None;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    bool Alive = false;
    if (XGetWindowProperty(Connection, Window(Record.Owner), TokenAtom, 0, 2, False, XA_CARDINAL, &Type, &Format, &Count,
            &After, &Data) == Success
        && Data && Type == XA_CARDINAL && Format == 32 && Count == 2) {
        const auto* Values = reinterpret_cast<const unsigned long*>(Data);
        Alive = Values[0] == Record.Token[0] && Values[1] == Record.Token[1];
    }
    if (Data)
        XFree(Data);
    return !Trap.Failed() && Alive;
}

bool TX11SpareKeys::Carries(const TX11KeymapModel& Model, const TRecord& Record) const
{
    if (Record.Keycode == 0 || Record.Keycode > 255)
        return false;
    const TX11Key& Key = Model.Keys[Record.Keycode];
    if (Key.Groups.size() != 1)
        return false;
    const auto& Levels = Key.Groups[0].Levels;
    const std::size_t Width = Record.Keysyms[2] ? 4 : 2;
    if (Levels.size() != Width)
        return false;
    for (std::size_t Level = 0; Level < Width; ++Level)
        if (Levels[Level] != Record.Keysyms[Level])
            return false;
    return true;
}

void TX11SpareKeys::ClearKeycodes(const std::vector<std::uint8_t>& Keycodes)
{
    if (Keycodes.empty())
        return;
    XkbDescPtr Map = ReadMap(Connection);
    if (!Map)
        return;
    // One request per key: a request over a range would write the real keys between them too.
    for (const std::uint8_t Keycode : Keycodes) {
        XkbMapChangesRec Changes {};
        int NoTypes[XkbNumKbdGroups] = {};
        if (XkbChangeTypesOfKey(Map, Keycode, 0, XkbGroup1Mask, NoTypes, &Changes) != Success)
            continue;
        XkbMapChangesRec Only {};
        Only.changed = XkbKeySymsMask;
        Only.first_key_sym = Keycode;
        Only.num_key_syms = 1;
        Mapping.ClearKey(Map, Only, Keycode);
    }
    XkbFreeKeyboard(Map, 0, True);
}

std::vector<Window> TX11SpareKeys::Start()
{
    Owner = XCreateWindow(Connection, Root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, 0, nullptr);
    XChangeProperty(Connection, Owner, TokenAtom, XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(Token.data()), int(Token.size()));
    std::vector<Window> Others;
    TX11ErrorTrap Trap(Connection, "clearing spare keys left behind");
    {
        TX11DisplayLockScope Locked(RecordLock);
        std::vector<TRecord> Kept;
        std::vector<std::uint8_t> Orphans;
        TX11KeymapModel Fresh;
        const bool HaveMap = Keymap.ReadModel(Fresh);
        for (const auto& Record : ReadRecords()) {
            if (OwnerAlive(Record)) {
                if (std::find(Others.begin(), Others.end(), Record.Owner) == Others.end())
                    Others.push_back(Window(Record.Owner));
                Kept.push_back(Record);
            } else if (HaveMap && Carries(Fresh, Record)) {
                Orphans.push_back(std::uint8_t(Record.Keycode));
            }
        }
        ClearKeycodes(Orphans);
        Kept.push_back(Mine(0, {}));
        WriteRecords(Kept);
        XSync(Connection, False); // done before the next KIVO may read
    }
    Trap.FailedReported();
    Keymap.Refresh();
    return Others;
}

bool TX11SpareKeys::AnotherAlive()
{
    for (const auto& Record : ReadRecords())
        if (!Ours(Record) && OwnerAlive(Record))
            return true;
    return false;
}

int TX11SpareKeys::HalvesAvailable(const TX11KeymapModel& Model) const
{
    return Mapping.FourLevels() && Model.Level3Key() && Model.TypeIndex("FOUR_LEVEL_ALPHABETIC") >= 0 ? 2 : 1;
}

std::vector<TSpare> TX11SpareKeys::Candidates(const TX11KeymapModel& Model, const std::vector<std::uint8_t>& ClaimedByOthers) const
{
    std::vector<TSpare> Result;
    for (const auto& Spare : Held) {
        // A half counts only while the key still carries it: a new layout empties every spare.
        TSpare Kept {Spare.Keycode};
        const TX11Key& Key = Model.Keys[Spare.Keycode];
        for (std::size_t Half = 0; Half < 2; ++Half) {
            const TKeysym Lower = Spare.Halves[Half].Lower;
            if (Lower && Key.Groups.size() == 1 && Key.Groups[0].Levels.size() > 2 * Half
                && Key.Groups[0].Levels[2 * Half] == Lower)
                Kept.Halves[Half] = Spare.Halves[Half];
        }
        if ((Kept.Halves[0].Lower || Model.IsEmpty(Spare.Keycode))
            && std::find(ClaimedByOthers.begin(), ClaimedByOthers.end(), Spare.Keycode) == ClaimedByOthers.end())
            Result.push_back(Kept);
    }
    for (int Keycode = Model.MaxKeycode; Keycode >= Model.MinKeycode; --Keycode) {
        const bool Known = std::any_of(Result.begin(), Result.end(), [&](const TSpare& Spare) { return Spare.Keycode == Keycode; });
        if (!Known && Model.IsEmpty(Keycode)
            && std::find(ClaimedByOthers.begin(), ClaimedByOthers.end(), Keycode) == ClaimedByOthers.end())
            Result.push_back({std::uint8_t(Keycode)});
    }
    return Result;
}

std::optional<TKeyPlace> TX11SpareKeys::Predict(TKeysym Keysym, unsigned LockedModifiers) const
{
    const TX11KeymapModel& Model = Keymap.Model();
    const auto Spares = Candidates(Model, {});
    const auto Plan = PlanSpare(Spares, CasePairOf(Keysym).Lower, HalvesAvailable(Model), TSpareClock::now());
    if (!Plan)
        return std::nullopt;
    const auto Spare = std::find_if(Spares.begin(), Spares.end(), [&](const TSpare& Each) { return Each.Keycode == Plan->Keycode; });
    return PlaceOnSpare(Model, *Spare, *Plan, Keysym, LockedModifiers);
}

bool TX11SpareKeys::Acquire(TKeysym Keysym)
{
    const TKeysym Lower = CasePairOf(Keysym).Lower;
    {
        const TX11KeymapModel& Model = Keymap.Model();
        const auto Plan = PlanSpare(Candidates(Model, {}), Lower, HalvesAvailable(Model), TSpareClock::now());
        if (!Plan)
            return false;
        if (!Plan->Remap)
            return true;
        if (Plan->Wait.count() > 0)
            std::this_thread::sleep_for(Plan->Wait);
    }
    TX11ErrorTrap Trap(Connection, "mapping a spare key");
    std::optional<TSpare> Mapped;
    {
        TX11DisplayLockScope Locked(RecordLock);
        XkbDescPtr Map = ReadMap(Connection);
        if (!Map)
            return false;
        TX11KeymapModel Fresh;
        Keymap.ModelOf(Map, Fresh);
        auto Records = ReadRecords();
        std::vector<std::uint8_t> ClaimedByOthers;
        // A claim counts while its keycode still carries what its owner put there: a layout
        // loaded since has emptied the keycode, and the claim with it.
        for (const auto& Record : Records)
            if (!Ours(Record) && Carries(Fresh, Record) && OwnerAlive(Record))
                ClaimedByOthers.push_back(std::uint8_t(Record.Keycode));
        const auto Spares = Candidates(Fresh, ClaimedByOthers);
        const auto Plan = PlanSpare(Spares, Lower, HalvesAvailable(Fresh), TSpareClock::now());
        const int AlphabeticType = Fresh.TypeIndex("ALPHABETIC");
        const int FourLevelType = Fresh.TypeIndex("FOUR_LEVEL_ALPHABETIC");
        if (Plan && AlphabeticType >= 0) {
            TSpare Spare = *std::find_if(Spares.begin(), Spares.end(), [&](const TSpare& Each) { return Each.Keycode == Plan->Keycode; });
            Spare.Halves[std::size_t(Plan->Half)] = {Lower, TSpareClock::now()};
            const TCasePair First = CasePairOf(Spare.Halves[0].Lower);
            const TCasePair Second = CasePairOf(Spare.Halves[1].Lower);
            const bool FourLevels = Spare.Halves[1].Lower && FourLevelType >= 0;
            const int Levels = FourLevels ? 4 : 2;
            // The key's entry is set by hand: XkbChangeTypesOfKey reaches for the server part of
            // the keymap, which a client-side copy does not hold, when a key grows to four levels.
            if (KeySym* Symbols = XkbResizeKeySyms(Map, Spare.Keycode, Levels)) {
                XkbSymMapRec& Entry = Map->map->key_sym_map[Spare.Keycode];
                Entry.kt_index[0] = std::uint8_t(FourLevels ? FourLevelType : AlphabeticType);
                Entry.group_info = XkbSetGroupInfo(1, XkbWrapIntoRange, 0);
                Entry.width = std::uint8_t(Levels);
                Symbols[0] = First.Lower;
                Symbols[1] = First.Upper;
                if (FourLevels) {
                    Symbols[2] = Second.Lower;
                    Symbols[3] = Second.Upper;
                }
                XkbMapChangesRec Changes {};
                Changes.changed = XkbKeySymsMask;
                Changes.first_key_sym = Spare.Keycode;
                Changes.num_key_syms = 1;
                const TRecord Record = Mine(Spare.Keycode, {First.Lower, First.Upper, FourLevels ? Second.Lower : 0, FourLevels ? Second.Upper : 0});
                std::erase_if(Records, [&](const TRecord& Each) { return Ours(Each) && Each.Keycode == Spare.Keycode; });
                Records.push_back(Record);
                // Recorded before it is mapped: the mapping may take round trips, and a KIVO
                // killed in between leaves nothing unrecorded (a record of a key that does not
                // carry it is ignored).
                WriteRecords(Records);
                if (Mapping.SetKey(Map, Changes, Spare.Keycode, Symbols, Levels))
                    Mapped = Spare;
            }
        }
        XkbFreeKeyboard(Map, 0, True);
        XSync(Connection, False);
    }
    if (Trap.FailedReported() || !Mapped)
        return false;
    auto Known = std::find_if(Held.begin(), Held.end(), [&](const TSpare& Each) { return Each.Keycode == Mapped->Keycode; });
    if (Known != Held.end())
        *Known = *Mapped;
    else
        Held.push_back(*Mapped);
    // The change's notification came before the reply that ended the trap: the map is read
    // again now, with the spare on it.
    Keymap.Refresh();
    return true;
}

void TX11SpareKeys::Touch(std::uint8_t Keycode)
{
    for (auto& Spare : Held)
        if (Spare.Keycode == Keycode)
            for (auto& Half : Spare.Halves)
                if (Half.Lower)
                    Half.LastUsed = TSpareClock::now();
}

void TX11SpareKeys::RestoreAll()
{
    if (!Owner)
        return;
    TSpareClock::time_point Latest {};
    for (const auto& Spare : Held)
        for (const auto& Half : Spare.Halves)
            if (Half.Lower)
                Latest = std::max(Latest, Half.LastUsed);
    const auto Rested = TSpareClock::now() - Latest;
    if (Latest != TSpareClock::time_point {} && Rested < SpareRestTime)
        std::this_thread::sleep_for(SpareRestTime - Rested);
    TX11ErrorTrap Trap(Connection, "giving spare keys back");
    {
        TX11DisplayLockScope Locked(RecordLock);
        TX11KeymapModel Fresh;
        const bool HaveMap = Keymap.ReadModel(Fresh);
        std::vector<TRecord> Kept;
        std::vector<std::uint8_t> Mapped;
        for (const auto& Record : ReadRecords()) {
            if (!Ours(Record))
                Kept.push_back(Record);
            else if (HaveMap && Carries(Fresh, Record))
                Mapped.push_back(std::uint8_t(Record.Keycode));
        }
        ClearKeycodes(Mapped);
        WriteRecords(Kept);
        XDestroyWindow(Connection, Owner);
        XSync(Connection, False);
    }
    Trap.FailedReported();
    Held.clear();
    Owner = 0;
}
