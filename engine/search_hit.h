#pragma once

#include <cstdint>
#include <deque>

#include "engine/decoration_fitting.h"

// A combination of candidate groups that met the chosen skills, with its decorations.
struct SearchHit {
    std::uint32_t keys[kSlotCount] = {};
    DecoBlock decos;
};

// Hits in the order found. A deque grows without copying what it holds, and hands the memory of
// each hit back once it has been expanded into its sets, so hits and sets do not both stay.
using SearchHits = std::deque<SearchHit>;
