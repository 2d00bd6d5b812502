#include "X11KeymapModel.h"

#include <X11/keysym.h>

#include <algorithm>

namespace {
// The modifier bit that a level-3 key without one of its own uses in every stock keymap (Mod5).
constexpr unsigned DefaultLevel3Modifier = 1u << 7;

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
    Level3Keycode = 0;
    for (int Keycode = MinKeycode; Keycode <= MaxKeycode; ++Keycode) {
        const TX11Key& Key = Keys[std::size_t(Keycode)];
        for (const auto& Group : Key.Groups)
            // Level 3 is the key carrying ISO_Level3_Shift, not Mode_switch (that one changes
            // group), even though both often sit on Mod5.
            if (!Group.Levels.empty() && Group.Levels[0] == XK_ISO_Level3_Shift && (!Level3Keycode || Key.Name == "RALT"))
                Level3Keycode = std::uint8_t(Keycode);
    }
    Level3Modifiers = 0;
    if (Level3Keycode)
        Level3Modifiers = Keys[Level3Keycode].Modifiers ? Keys[Level3Keycode].Modifiers : DefaultLevel3Modifier;
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
