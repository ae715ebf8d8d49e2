#pragma once

#include <cstdint>
#include <vector>

#include "engine/decoration_fitting.h"

// Decorations for the sets of a hit whose doubling pieces have one particular profile each (the
// exact fitting tells doubling pieces apart by their own slots).
struct HitVariant {
    static constexpr std::uint16_t kAnyProfile = 0xFFFF; // the slot holds no doubling piece
    std::uint16_t profile[kSlotCount] = {kAnyProfile, kAnyProfile, kAnyProfile, kAnyProfile,
                                         kAnyProfile};
    DecoBlock decos;
};

// A combination of candidate groups that met the chosen skills, with its decorations. When
// `variants` is not empty only the sets matching one of them were met, each with its variant's
// decorations.
struct SearchHit {
    std::uint32_t keys[kSlotCount] = {};
    DecoBlock decos;
    std::vector<HitVariant> variants;
};
