#include "engine/search/decoration_slot_floor.h"

#include <algorithm>
#include <limits>

#include "engine/condition/group_key.h"
#include "engine/exact/exact_combination.h"

DecorationSlotFloor::DecorationSlotFloor(const CSearchCondition& condition,
                                         const std::vector<TrackedSkill>& skills,
                                         const GroupList (&groups)[kSlotCount],
                                         const ExactFitter& fitter)
    : fitter_(fitter), count_(std::min(static_cast<int>(skills.size()), kMaxTrackedSkills)) {
    int fixedGain[kMaxTrackedSkills] = {};
    bounded_ = FixedDecorationGains(condition, skills, fixedGain);
    for (int k = 0; k < count_; ++k) {
        open_[k] = skills[k].direction * skills[k].bound - fixedGain[k];
    }
    int below[kMaxTrackedSkills] = {};
    bool doubling = false;
    for (int level = kSlotCount - 1; level >= 0; --level) {
        std::copy_n(below, count_, mostBelow_[level]);
        doublingBelow_[level] = doubling;
        int most[kMaxTrackedSkills];
        std::fill_n(most, count_, std::numeric_limits<int>::min());
        for (const CandidateGroup& group : groups[level]) {
            if (group.key == kDoublingKey) {
                doubling = true;
                continue;
            }
            for (int k = 0; k < count_; ++k) {
                most[k] = std::max(most[k], skills[k].Gain(KeyPoints(group.key, k)));
            }
        }
        // A level without groups holds no sets at all; its part stays 0 and the bound loose.
        for (int k = 0; k < count_; ++k) {
            below[k] += most[k] == std::numeric_limits<int>::min() ? 0 : most[k];
        }
    }
    std::copy_n(skills.begin(), count_, skills_);
}

int DecorationSlotFloor::Fewest(int level, const std::uint32_t* keys) const {
    if (!bounded_ || doublingBelow_[level]) {
        return 0;
    }
    int required[kMaxTrackedSkills];
    for (int k = 0; k < count_; ++k) {
        required[k] = open_[k] - mostBelow_[level][k];
    }
    for (int slot = 0; slot <= level; ++slot) {
        if (keys[slot] == kDoublingKey) {
            return 0;
        }
        for (int k = 0; k < count_; ++k) {
            required[k] -= skills_[k].Gain(KeyPoints(keys[slot], k));
        }
    }
    return fitter_.SlotsNeeded(required);
}
