#pragma once

#include <cstdint>

// A group key packs what makes armour pieces interchangeable for one search into 30 bits: five
// 5-bit two's-complement point fields (chosen skills 0..4 in cost order, from bit 25 down) and the
// slot count in bits 4..0.

constexpr std::uint32_t kDoublingKey = 0x3FFFFFFF;
// Never equivalent to a real key: real keys leave bits 31 and 30 clear.
constexpr std::uint32_t kNoFailedKey = 0xF1F1F1F1;
constexpr int kKeyPointsMin = -16;
constexpr int kKeyPointsMax = 15;

constexpr int KeyShift(int skill) {
    return 25 - 5 * skill;
}

// The signed points of a key for chosen skill `skill`.
constexpr int KeyPoints(std::uint32_t key, int skill) {
    const int field = static_cast<int>((key >> KeyShift(skill)) & 31U);
    return field > kKeyPointsMax ? field - 32 : field;
}

// The slot count of a key; 0 for the body-doubling key, whose field reads 31.
constexpr int KeySlots(std::uint32_t key) {
    const int field = static_cast<int>(key & 31U);
    return field > 3 ? 0 : field;
}

// Keys agree in everything but the slot count.
constexpr bool AreEquivalent(std::uint32_t a, std::uint32_t b) {
    return ((a ^ b) >> 5) == 0;
}

// A piece without the body-doubling marker never gets the doubling key, whatever its points: a
// slot field of 31 reads as no slots anyway, so the key keeps 0 there instead.
constexpr std::uint32_t PackKey(const int* points, int count, int slots) {
    std::uint32_t key = static_cast<std::uint32_t>(slots) & 31U;
    for (int k = 0; k < count; ++k) {
        key |= (static_cast<std::uint32_t>(points[k]) & 31U) << KeyShift(k);
    }
    return key == kDoublingKey ? key & ~31U : key;
}
