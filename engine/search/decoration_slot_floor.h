#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/condition/tracked_skill.h"
#include "engine/exact/exact_fitting.h"

// The fewest slots the decorations of any set under some chosen groups must take: what the
// chosen skills still lack after the chosen groups, the most the groups still to be chosen can
// give and the fixed decorations, in the fewest slots that could give it. A set's free slots are
// at most its slots less this. Where a body-doubling piece may take part, its decorations count
// more than once and this says 0.
class DecorationSlotFloor {
public:
    DecorationSlotFloor(const CSearchCondition& condition, const std::vector<TrackedSkill>& skills,
                        const GroupList (&groups)[kSlotCount], const ExactFitter& fitter);

    // For the sets whose groups of levels 0..level have `keys`.
    int Fewest(int level, const std::uint32_t* keys) const;

private:
    const ExactFitter& fitter_;
    TrackedSkill skills_[kMaxTrackedSkills];
    int count_ = 0;
    bool bounded_ = true;
    // What is left to gain with nothing chosen: the goals less the fixed decorations.
    int open_[kMaxTrackedSkills] = {};
    // The most the levels under a level can add to each skill's gain.
    int mostBelow_[kSlotCount][kMaxTrackedSkills] = {};
    bool doublingBelow_[kSlotCount] = {};
};
