#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/fitting/rule_fitter.h"

// The sets of a hit whose doubling pieces have one particular profile each (the exact fitting
// tells doubling pieces apart by their own slots).
struct HitVariant {
    static constexpr std::uint16_t kAnyProfile = 0xFFFF; // the slot holds no doubling piece
    std::uint16_t profile[kSlotCount] = {kAnyProfile, kAnyProfile, kAnyProfile, kAnyProfile,
                                         kAnyProfile};
};

// A combination of candidate groups that met the chosen skills, with its decorations (found later
// in the exact mode). When `variants` is not empty only the sets matching one of them were met.
struct SearchHit {
    GroupKey keys[kSlotCount] = {};
    DecoBlock decos;
    std::vector<HitVariant> variants;
};

// Hits in the order found. A deque grows without copying what it holds, and hands the memory of
// each hit back once it has been expanded into its sets, so hits and sets do not both stay.
using SearchHits = std::deque<SearchHit>;
