#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/search/decoration_slot_floor.h"

// Upper bounds of a ranked search's key for the parts of the enumeration: the best value any
// member of a group brings, and the best the levels under a level can still add. The defence
// bounds come from the groups' best defence. Free slots are the slots less those the decorations
// the chosen skills need must take.
class RankBound {
public:
    RankBound(const CSearchCondition& condition, const CandidateList (&candidates)[kSlotCount],
              const GroupList (&groups)[kSlotCount], const std::vector<TrackedSkill>& skills,
              const ExactFitter& fitter);

    std::int64_t GroupValue(int level, std::size_t group) const { return values_[level][group]; }
    // What the levels under `level`, the weapon and the decorations can add at most to the sets
    // whose groups of levels 0..level have `keys`.
    std::int64_t BestBelow(int level, const std::uint32_t* keys) const {
        return floor_ ? bestBelow_[level] - floor_->Fewest(level, keys) : bestBelow_[level];
    }
    std::int64_t BestDefenseBelow(int level) const { return bestDefenseBelow_[level]; }

private:
    std::vector<std::int64_t> values_[kSlotCount];
    std::int64_t bestBelow_[kSlotCount] = {};
    std::int64_t bestDefenseBelow_[kSlotCount] = {};
    std::optional<DecorationSlotFloor> floor_; // for free slots only
};
