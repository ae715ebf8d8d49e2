#pragma once

#include <cstdint>

// A group key packs what makes armour pieces interchangeable for one search into 55 bits: ten
// 5-bit two's-complement point fields (chosen skills 0..9 in cost order, from bit 50 down) and the
// slot count in bits 4..0. Skills past the chosen ones leave their fields 0, so keys of a search
// with few skills order exactly as their fields of those skills and their slots do.
using GroupKey = std::uint64_t;

constexpr int kKeyFields = 10;
constexpr GroupKey kDoublingKey = (GroupKey{1} << (5 * (kKeyFields + 1))) - 1;
// Never equivalent to a real key: real keys leave the bits above 54 clear.
constexpr GroupKey kNoFailedKey = 0xF1F1F1F1F1F1F1F1ULL;
constexpr int kKeyPointsMin = -16;
constexpr int kKeyPointsMax = 15;

constexpr int KeyShift(int skill) {
    return 5 * (kKeyFields - skill);
}

// The signed points of a key for chosen skill `skill`.
constexpr int KeyPoints(GroupKey key, int skill) {
    const int field = static_cast<int>((key >> KeyShift(skill)) & 31U);
    return field > kKeyPointsMax ? field - 32 : field;
}

// The slot count of a key; 0 for the body-doubling key, whose field reads 31.
constexpr int KeySlots(GroupKey key) {
    const int field = static_cast<int>(key & 31U);
    return field > 3 ? 0 : field;
}

// Keys agree in everything but the slot count.
constexpr bool AreEquivalent(GroupKey a, GroupKey b) {
    return ((a ^ b) >> 5) == 0;
}

// A piece without the body-doubling marker never gets the doubling key, whatever its points: a
// slot field of 31 reads as no slots anyway, so the key keeps 0 there instead.
constexpr GroupKey PackKey(const int* points, int count, int slots) {
    GroupKey key = static_cast<GroupKey>(slots) & 31U;
    for (int k = 0; k < count; ++k) {
        key |= (static_cast<GroupKey>(points[k]) & 31U) << KeyShift(k);
    }
    return key == kDoublingKey ? key & ~GroupKey{31} : key;
}
