#include "KWinTextState.h"

#include <algorithm>

namespace {

// The length of the sequence a lead byte starts, 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char Lead)
{
    if (Lead < 0x80)
        return 1;
    if (Lead >= 0xC2 && Lead <= 0xDF)
        return 2;
    if (Lead >= 0xE0 && Lead <= 0xEF)
        return 3;
    if (Lead >= 0xF0 && Lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

std::size_t Utf8Length(char32_t Character)
{
    if (Character < 0x80)
        return 1;
    if (Character < 0x800)
        return 2;
    // What is no code point is sent as U+FFFD, three bytes long like the rest of the BMP.
    if (Character < 0x10000 || Character > 0x10FFFF)
        return 3;
    return 4;
}

std::u32string Utf8Before(std::string_view Utf8, std::size_t Bytes)
{
    const std::string_view Text = Utf8.substr(0, std::min(Bytes, Utf8.size()));
    std::u32string Result;
    std::size_t Index = 0;
    while (Index < Text.size()) {
        const auto Lead = static_cast<unsigned char>(Text[Index]);
        const std::size_t Length = SequenceLength(Lead);
        if (Length == 0) {
            Result += U'\uFFFD';
            ++Index;
            continue;
        }
        if (Index + Length > Text.size())
            break; // the offset cuts this code point: only what comes before it counts
        char32_t Character = Length == 1 ? Lead : Lead & (0x7F >> Length);
        bool Valid = true;
        for (std::size_t Next = 1; Next < Length; ++Next) {
            const auto Byte = static_cast<unsigned char>(Text[Index + Next]);
            if ((Byte & 0xC0) != 0x80) {
                Valid = false;
                break;
            }
            Character = (Character << 6) | (Byte & 0x3F);
        }
        // Overlong forms, surrogates and what lies past U+10FFFF are no code points.
        const bool Shortest = Length == 1 || Character >= (Length == 2 ? 0x80u : Length == 3 ? 0x800u : 0x10000u);
        if (!Valid || !Shortest || (Character >= 0xD800 && Character <= 0xDFFF) || Character > 0x10FFFF) {
            Result += U'\uFFFD';
            ++Index;
            continue;
        }
        Result += Character;
        Index += Length;
    }
    return Result;
}

void TKWinTextState::Activated()
{
    LastSerial = 0;
    SurroundingSeen = false;
    Tail.Forget();
}

bool TKWinTextState::Surrounding(std::string_view Utf8, std::uint32_t CursorBytes)
{
    SurroundingSeen = true;
    return Tail.Agrees(Utf8Before(Utf8, CursorBytes));
}

std::size_t TKWinTextState::ErasableBytes() const
{
    if (!SurroundingSeen || Tail.Typed() == 0)
        return 0;
    return Utf8Length(Tail.LastTyped());
}
