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
    // The best defence the groups of the levels from `level` to the last can add up to.
    std::int64_t StrongestFrom(int level) const { return strongest_[level]; }

private:
    bool Simulate(int level, std::int64_t defenseAbove);

    const GroupList (&groups_)[kSlotCount];
    const std::int64_t minDefense_;
    // The best and the worst defence the levels from one to the last add up to. Under groups
    // weaker than the minimum less the strongest, every combination of the subtree falls short
    // of the minimum defence; from the minimum less the weakest on, none does: the flag is known
    // there without a walk.
    std::int64_t strongest_[kSlotCount + 1] = {};
    std::int64_t weakest_[kSlotCount + 1] = {};
    std::unordered_map<std::int64_t, bool> memo_[kSlotCount];
};
