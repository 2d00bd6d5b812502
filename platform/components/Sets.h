#pragma once
// A set of enumeration items stored as bits, item n being bit n, as components store their
// option sets. TBits fixes the storage size, which is part of a stored set's format.
#include <cstdint>
#include <initializer_list>
#include <type_traits>

template <typename TItem, typename TBits>
class TSet {
    static_assert(std::is_unsigned_v<TBits>);

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<TItem> Items)
    {
        for (const TItem Item : Items)
            Include(Item);
    }

    static constexpr TSet FromBits(TBits Bits)
    {
        TSet Set;
        Set.BitsValue = Bits;
        return Set;
    }
    constexpr TBits Bits() const { return BitsValue; }

    constexpr bool Contains(TItem Item) const { return (BitsValue & Bit(Item)) != 0; }
    constexpr bool Empty() const { return BitsValue == 0; }
    constexpr TSet& Include(TItem Item)
    {
        BitsValue = static_cast<TBits>(BitsValue | Bit(Item));
        return *this;
    }
    constexpr TSet& Exclude(TItem Item)
    {
        BitsValue = static_cast<TBits>(BitsValue & ~Bit(Item));
        return *this;
    }

    friend constexpr TSet operator+(TSet A, TSet B) { return FromBits(static_cast<TBits>(A.BitsValue | B.BitsValue)); }
    friend constexpr TSet operator-(TSet A, TSet B) { return FromBits(static_cast<TBits>(A.BitsValue & ~B.BitsValue)); }
    friend constexpr TSet operator*(TSet A, TSet B) { return FromBits(static_cast<TBits>(A.BitsValue & B.BitsValue)); }
    friend constexpr bool operator==(TSet A, TSet B) = default;

private:
    static constexpr TBits Bit(TItem Item)
    {
        return static_cast<TBits>(TBits { 1 } << static_cast<unsigned>(Item));
    }

    TBits BitsValue = 0;
};
