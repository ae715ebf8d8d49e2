#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/search/decoration_slot_floor.h"
#include "engine/search/ranked_sets.h"

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
    // Whether a set whose groups of levels 0..level have `keys` and bring `value` at most could
    // enter `ranked` with `defense`: the floor of the decorations' slots is weighed only where
    // the groups' own best could.
    bool MayEnter(const RankedSets& ranked, int level, const GroupKey* keys, std::int64_t value,
                  std::int64_t defense) const {
        return ranked.MayEnter(value + bestBelow_[level], defense) &&
               (!floor_ || ranked.MayEnter(value + BestBelow(level, keys), defense));
    }
    std::int64_t BestBelow(int level, const GroupKey* keys) const {
        return floor_ ? bestBelow_[level] - floor_->Fewest(level, keys) : bestBelow_[level];
    }
    std::int64_t BestDefenseBelow(int level) const { return bestDefenseBelow_[level]; }

private:
    std::vector<std::int64_t> values_[kSlotCount];
    std::int64_t bestBelow_[kSlotCount] = {};
    std::int64_t bestDefenseBelow_[kSlotCount] = {};
    std::optional<DecorationSlotFloor> floor_; // for free slots only
};
