#pragma once

#include <algorithm>
#include <cstddef>

#include "engine/sets/equip_set.h"

// Asks for every cache line of a set ahead of its use: the sets of a long list lie in memory in
// the order they were made, which is seldom the order they are read in.
inline void PrefetchSet(const CEquipSet& set) {
    constexpr std::size_t kCacheLine = 64;
    const char* bytes = reinterpret_cast<const char*>(&set);
    for (std::size_t line = 0; line < sizeof(CEquipSet) + kCacheLine; line += kCacheLine) {
        __builtin_prefetch(bytes + std::min(line, sizeof(CEquipSet) - 1));
    }
}
