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
    std::copy_n(skills.begin(), count_, skills_);
    int fixedGain[kMaxTrackedSkills] = {};
    bounded_ = FixedDecorationGains(condition, skills, fixedGain);
    for (int k = 0; k < count_; ++k) {
        open_[k] = skills[k].direction * skills[k].bound - fixedGain[k];
    }
    for (int level = 0; level < kSlotCount; ++level) {
        int most[kMaxTrackedSkills];
        std::fill_n(most, count_, std::numeric_limits<int>::min());
        for (const CandidateGroup& group : groups[level]) {
            if (group.key == kDoublingKey) {
                hasDoubling_[level] = true;
                continue;
            }
            for (int k = 0; k < count_; ++k) {
                most[k] = std::max(most[k], skills[k].Gain(KeyPoints(group.key, k)));
            }
        }
        for (int k = 0; k < count_; ++k) {
            most_[level][k] = most[k] == std::numeric_limits<int>::min() ? 0 : most[k];
        }
    }
}

int DecorationSlotFloor::Fewest(int level, const GroupKey* keys) const {
    const bool bodyChosen = level >= kBody;
    if (!bounded_ || (bodyChosen ? keys[kBody] == kDoublingKey : hasDoubling_[kBody])) {
        return 0;
    }
    int body[kMaxTrackedSkills];
    for (int k = 0; k < count_; ++k) {
        body[k] = bodyChosen ? skills_[k].Gain(KeyPoints(keys[kBody], k)) : most_[kBody][k];
    }
    int required[kMaxTrackedSkills];
    std::copy_n(open_, count_, required);
    int times = 1; // how often a body decoration may count
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const bool chosen = slot <= level;
        const bool doubling = chosen ? keys[slot] == kDoublingKey : hasDoubling_[slot];
        times += doubling ? 1 : 0;
        for (int k = 0; k < count_; ++k) {
            const int gain = chosen
                                 ? (doubling ? body[k] : skills_[k].Gain(KeyPoints(keys[slot], k)))
                                 : (doubling ? std::max(most_[slot][k], body[k]) : most_[slot][k]);
            required[k] -= gain;
        }
    }
    return times == 1 ? fitter_.SlotsNeeded(required) : FewestWithBodyCounted(required, times);
}

// The body takes some of its slots, each of its decorations counting `times` times; the other
// positions take the slots the rest needs.
int DecorationSlotFloor::FewestWithBodyCounted(const int* required, int times) const {
    int fewest = fitter_.SlotsNeeded(required);
    for (int bodySlots = 1; bodySlots <= 3; ++bodySlots) {
        int rest[kMaxTrackedSkills];
        for (int k = 0; k < count_; ++k) {
            rest[k] = required[k] - times * fitter_.BestGain(k, bodySlots);
        }
        fewest = std::min(fewest, bodySlots + fitter_.SlotsNeeded(rest));
    }
    return fewest;
}
