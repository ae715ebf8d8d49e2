#pragma once

#include <cstdint>

#include "engine/fitting/fit_memo.h"

// What the least-cost search knows of a sub-problem: a cost and the choice that reaches it, in
// one entry, as the search reads and writes them together. Both 0 when the key is unknown; a
// known entry's cost is never 0.
struct CostAndChoice {
    std::uint16_t cost = 0;
    std::uint16_t choice = 0;

    bool operator==(const CostAndChoice&) const = default;
};

using CostMemo = KeyedMemo<CostAndChoice>;
