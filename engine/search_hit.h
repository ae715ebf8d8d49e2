#pragma once

#include <cstdint>

#include "engine/decoration_fitting.h"

// A combination of candidate groups that met the chosen skills, with its decorations.
struct SearchHit {
    std::uint32_t keys[kSlotCount] = {};
    DecoBlock decos;
};
