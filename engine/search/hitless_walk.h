#pragma once

#include <cstdint>
#include <unordered_map>

#include "engine/condition/candidates.h"

// What walking a subtree that holds no hit leaves behind in the rule-based enumeration: every
// combination in it is counted, and the only state that outlives the walk is the low-defence
// flag, which decides the skips that follow. The flag after the walk depends only on the level
// and on the best defence of the groups above, so it is worked out once per such pair and the
// subtree is then counted whole instead of walked.
class HitlessWalk {
public:
    HitlessWalk(const GroupList (&groups)[kSlotCount], std::int64_t minDefense);

    // The low-defence flag after the walk of every group combination from `level` down, under
    // groups whose best defences add up to `defenseAbove`.
    bool LowDefenseAfter(int level, std::int64_t defenseAbove);

private:
    bool Simulate(int level, std::int64_t defenseAbove);

    const GroupList (&groups_)[kSlotCount];
    const std::int64_t minDefense_;
    // Below `allLow_` every combination of the subtree falls short of the minimum defence, from
    // `noneLow_` on none does; the flag is known there without a walk.
    std::int64_t allLow_[kSlotCount] = {};
    std::int64_t noneLow_[kSlotCount] = {};
    std::unordered_map<std::int64_t, bool> memo_[kSlotCount];
};
