#pragma once

#include <cstdint>

// What a ranked search orders its sets by, best first; with kNone it lists them as found.
enum class RankKey : std::int32_t {
    kNone = 0,
    kDefense,
    kFreeSlots,
    kFire,
    kWater,
    kThunder,
    kIce,
    kDragon,
    kOwned,
};

constexpr int kRankKeyCount = 9;

// The resistance element (0 fire .. 4 dragon) a key ranks by, or -1.
constexpr int ResistElementOf(RankKey key) {
    const int element = static_cast<int>(key) - static_cast<int>(RankKey::kFire);
    return element >= 0 && element < 5 ? element : -1;
}
