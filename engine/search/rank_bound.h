#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
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
    // Whether a set whose groups of levels 0..level have `keys` and bring `value` at most could
    // enter `ranked` with `defense`: the floor of the decorations' slots is weighed only where
    // the groups' own best could, the group's own floor first and the one its siblings share
    // only where that fits and could be the lower: siblings that give the same share their own
    // floor too, and the shared one, worked out once for all of them, is not needed where none
    // fits.
    // `group`: the place of the group of `level` among its level's groups.
    bool MayEnter(const RankedSets& ranked, int level, const GroupKey* keys, std::size_t group,
                  std::int64_t value, std::int64_t defense) const {
        const std::int64_t least = ranked.LeastKeyToEnter(defense);
        const std::int64_t most = value + bestBelow_[level];
        if (most < least) {
            return false;
        }
        if (!floor_ || least == std::numeric_limits<std::int64_t>::min()) {
            return true;
        }
        const std::int64_t spare = most - least; // the most slots the decorations may take
        return floor_->FitsIn(level, keys, group, spare) &&
               (floor_->OnlyGrows() || floor_->FewestAbove(level, keys) <= spare);
    }
    std::int64_t BestDefenseBelow(int level) const { return bestDefenseBelow_[level]; }

private:
    std::vector<std::int64_t> values_[kSlotCount];
    // What the levels under each, the weapon and the decorations can add at most, before the
    // floor of the decorations' slots.
    std::int64_t bestBelow_[kSlotCount] = {};
    std::int64_t bestDefenseBelow_[kSlotCount] = {};
    std::optional<DecorationSlotFloor> floor_; // for free slots only
};
