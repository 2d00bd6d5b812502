#include "X11KeymapModel.h"

#include <X11/keysym.h>

#include <algorithm>
#include <tuple>

namespace {
// The modifier bit that a level-3 key without one of its own uses in every stock keymap (Mod5).
constexpr unsigned DefaultLevel3Modifier = 1u << 7;

int Cost(const TKeyPlace& Place) { return (Place.Level3 ? 2 : 0) + (Place.Shift ? 1 : 0); }
} // namespace

int TX11KeyType::LevelFor(unsigned Modifiers) const
{
    const unsigned Relevant = Modifiers & Mask;
    for (const auto& Entry : Entries)
        if (Entry.Modifiers == Relevant)
            return Entry.Level;
    return 0;
}

std::optional<TLevelFrame> FrameForLevel(const TX11KeyType& Type, int Level, unsigned LockedModifiers, unsigned Level3Mask)
{
    // Caps Lock and Num Lock stay as they are, so the frame is the one that gives the level
    // under them.
    const int Frames = Level3Mask ? 4 : 2;
    for (int Frame = 0; Frame < Frames; ++Frame) {
        const TLevelFrame Candidate {(Frame & 1) != 0, (Frame & 2) != 0};
        const unsigned Modifiers = LockedModifiers | (Candidate.Shift ? ShiftModifierBit : 0) | (Candidate.Level3 ? Level3Mask : 0);
        if (Type.LevelFor(Modifiers) == Level)
            return Candidate;
    }
    return std::nullopt;
}

void TX11KeymapModel::Index()
{
    Slots.clear();
    Level3Keycode = 0;
    for (int Keycode = MinKeycode; Keycode <= MaxKeycode; ++Keycode) {
        const TX11Key& Key = Keys[std::size_t(Keycode)];
        for (std::size_t Group = 0; Group < Key.Groups.size(); ++Group) {
            const auto& Levels = Key.Groups[Group].Levels;
            for (std::size_t Level = 0; Level < Levels.size(); ++Level)
                if (const char32_t Character = CodePointOfKeysym(Levels[Level]))
                    Slots.push_back({Character, std::uint8_t(Keycode), std::uint8_t(Group), std::uint8_t(Level)});
            // Level 3 is the key carrying ISO_Level3_Shift, not Mode_switch (that one changes
            // group), even though both often sit on Mod5.
            if (!Levels.empty() && Levels[0] == XK_ISO_Level3_Shift && (!Level3Keycode || Key.Name == "RALT"))
                Level3Keycode = std::uint8_t(Keycode);
        }
    }
    std::stable_sort(Slots.begin(), Slots.end(), [](const TSlot& Left, const TSlot& Right) { return Left.Character < Right.Character; });
    Level3Modifiers = 0;
    if (Level3Keycode)
        Level3Modifiers = Keys[Level3Keycode].Modifiers ? Keys[Level3Keycode].Modifiers : DefaultLevel3Modifier;
}

int TX11KeymapModel::EffectiveGroup(int Keycode, int Group) const
{
    const TX11Key& Key = Keys[std::size_t(Keycode)];
    const int Groups = int(Key.Groups.size());
    if (Groups <= 0 || Group < Groups)
        return Group;
    switch (Key.OutOfRange) {
    case grClamp: return Groups - 1;
    case grRedirect: return Key.RedirectGroup < Groups ? Key.RedirectGroup : 0;
    case grWrap: break;
    }
    return Group % Groups;
}

std::optional<TKeyPlace> TX11KeymapModel::Cheapest(char32_t Character, bool ActiveGroupOnly, int Group, unsigned LockedModifiers) const
{
    const auto [First, Last] = std::equal_range(Slots.begin(), Slots.end(), TSlot {Character},
        [](const TSlot& Left, const TSlot& Right) { return Left.Character < Right.Character; });
    std::optional<TKeyPlace> Best;
    for (auto Slot = First; Slot != Last; ++Slot) {
        if ((EffectiveGroup(Slot->Keycode, Group) == Slot->Group) != ActiveGroupOnly)
            continue;
        const TX11KeyGroup& KeyGroup = Keys[Slot->Keycode].Groups[Slot->Group];
        if (KeyGroup.Type < 0 || std::size_t(KeyGroup.Type) >= Types.size())
            continue;
        const auto Frame = FrameForLevel(Types[std::size_t(KeyGroup.Type)], Slot->Level, LockedModifiers, Level3Modifiers);
        if (!Frame)
            continue;
        const TKeyPlace Place {Slot->Keycode, Slot->Group, Frame->Shift, Frame->Level3};
        if (!Best || Cost(Place) < Cost(*Best))
            Best = Place;
    }
    return Best;
}

std::optional<TKeyPlace> TX11KeymapModel::Find(char32_t Character, int Group, unsigned LockedModifiers) const
{
    if (auto Place = Cheapest(Character, true, Group, LockedModifiers))
        return Place;
    return Cheapest(Character, false, Group, LockedModifiers);
}

std::uint8_t TX11KeymapModel::KeycodeOf(TKeysym Keysym) const
{
    std::uint8_t Found = 0;
    for (int Keycode = MinKeycode; Keycode <= MaxKeycode; ++Keycode)
        for (const auto& Group : Keys[std::size_t(Keycode)].Groups)
            for (std::size_t Level = 0; Level < Group.Levels.size(); ++Level)
                if (Group.Levels[Level] == Keysym) {
                    if (Level == 0)
                        return std::uint8_t(Keycode);
                    if (!Found)
                        Found = std::uint8_t(Keycode);
                }
    return Found;
}

int TX11KeymapModel::TypeIndex(const std::string& Name) const
{
    for (std::size_t Index = 0; Index < Types.size(); ++Index)
        if (Types[Index].Name == Name)
            return int(Index);
    return -1;
}
