#pragma once

#include <cstdint>
#include <vector>

#include "engine/candidates.h"
#include "engine/exact_fitting.h"
#include "engine/tracked_skill.h"

// An upper bound on what the groups still to be chosen can bring: before the enumeration descends
// under a group, it asks whether the best remaining groups, with the best decorations for their
// slots, could still meet every chosen skill. When they surely cannot, no combination below can
// be a hit, whichever fitting judges it.
class SubtreeBound {
public:
    SubtreeBound(const CSearchCondition& condition, const std::vector<TrackedSkill>& skills,
                 const CandidateList (&candidates)[kSlotCount],
                 const GroupList (&groups)[kSlotCount], const ExactFitter& fitter);

    // Whether the combinations whose groups of levels 0..level have `keys` may hold a hit.
    bool MayHit(int level, const std::uint32_t* keys) const;

private:
    struct Level {
        bool hasDoubling = false;
        int doublingSlots = 0; // most slots of a doubling piece
        int mostSlots = 0;     // over the other groups
        int mostPoints[kMaxTrackedSkills] = {};
        int mostWithDecos[kMaxTrackedSkills] = {}; // points plus best decorations in its slots
    };
    static constexpr int kNone = -(1 << 20);

    const ExactFitter& fitter_;
    std::vector<TrackedSkill> skills_;
    int count_ = 0;
    int goal_[kMaxTrackedSkills] = {}; // the bound of each skill, in gains
    int fixedGain_[kMaxTrackedSkills] = {};
    int weaponSlots_ = 0;
    bool enabled_ = true;
    Level levels_[kSlotCount];
};
