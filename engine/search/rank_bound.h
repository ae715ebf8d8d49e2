#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"

// Upper bounds of a ranked search's key for the parts of the enumeration: the best value any
// member of a group brings, and the best the levels under a level can still add. The defence
// bounds come from the groups' best defence.
class RankBound {
public:
    RankBound(const CSearchCondition& condition, const CandidateList (&candidates)[kSlotCount],
              const GroupList (&groups)[kSlotCount]);

    std::int64_t GroupValue(int level, std::size_t group) const { return values_[level][group]; }
    // Including the weapon's part, which no level holds.
    std::int64_t BestBelow(int level) const { return bestBelow_[level]; }
    std::int64_t BestDefenseBelow(int level) const { return bestDefenseBelow_[level]; }

private:
    std::vector<std::int64_t> values_[kSlotCount];
    std::int64_t bestBelow_[kSlotCount] = {};
    std::int64_t bestDefenseBelow_[kSlotCount] = {};
};
