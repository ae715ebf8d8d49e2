#include "engine/search/subtree_bound.h"

#include <algorithm>

#include "engine/condition/group_key.h"
#include "engine/exact/exact_combination.h"

SubtreeBound::SubtreeBound(const CSearchCondition& condition,
                           const std::vector<TrackedSkill>& skills,
                           const CandidateList (&candidates)[kSlotCount],
                           const GroupList (&groups)[kSlotCount], const ExactFitter& fitter)
    : fitter_(fitter), count_(static_cast<int>(skills.size())),
      weaponSlots_(std::clamp(condition.weaponSlots, 0, 3)) {
    for (int k = 0; k < count_; ++k) {
        goal_[k] = skills[k].direction * skills[k].bound;
    }
    enabled_ = FixedDecorationGains(condition, skills, fixedGain_);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Level& level = levels_[slot];
        std::fill(level.mostPoints, level.mostPoints + kMaxTrackedSkills, kNone);
        std::fill(level.mostWithDecos, level.mostWithDecos + kMaxTrackedSkills, kNone);
        for (const CEquipData* piece : candidates[slot]) {
            if (piece->bodyDoubling) {
                level.doublingSlots = std::max(level.doublingSlots, std::clamp(piece->slots, 0, 3));
            }
        }
        for (const CandidateGroup& group : groups[slot]) {
            if (group.key == kDoublingKey) {
                level.hasDoubling = true;
                continue;
            }
            const int slots = KeySlots(group.key);
            level.mostSlots = std::max(level.mostSlots, slots);
            for (int k = 0; k < count_; ++k) {
                const int gain = skills[k].Gain(KeyPoints(group.key, k));
                level.mostPoints[k] = std::max(level.mostPoints[k], gain);
                level.mostWithDecos[k] =
                    std::max(level.mostWithDecos[k], gain + fitter.BestGain(k, slots));
            }
        }
    }
    skills_ = skills;
}

SubtreeBound::Partial SubtreeBound::Accumulate(int level, const std::uint32_t* keys) const {
    Partial partial;
    // A doubling piece brings the body's points and the body's decorations once more.
    if (level >= kBody) {
        if (keys[kBody] == kDoublingKey) {
            partial.unbounded = true;
            return partial;
        }
        partial.bodySlots = KeySlots(keys[kBody]);
        for (int k = 0; k < count_; ++k) {
            partial.bodyPoints[k] = skills_[k].Gain(KeyPoints(keys[kBody], k));
            partial.bodyWith[k] = partial.bodyPoints[k] + fitter_.BestGain(k, partial.bodySlots);
        }
    } else {
        if (levels_[kBody].hasDoubling) {
            partial.unbounded = true;
            return partial;
        }
        partial.bodySlots = levels_[kBody].mostSlots;
        std::copy_n(levels_[kBody].mostPoints, count_, partial.bodyPoints);
        std::copy_n(levels_[kBody].mostWithDecos, count_, partial.bodyWith);
    }
    partial.slots = weaponSlots_;
    for (int k = 0; k < count_; ++k) {
        partial.points[k] = fixedGain_[k];
        partial.with[k] = fixedGain_[k] + fitter_.BestGain(k, weaponSlots_);
    }
    for (int slot = 0; slot <= level; ++slot) {
        AddGroup(partial, slot, keys[slot]);
    }
    return partial;
}

void SubtreeBound::AddGroup(Partial& partial, int slot, std::uint32_t key) const {
    if (key == kDoublingKey) {
        const int own = levels_[slot].doublingSlots;
        partial.slots += partial.bodySlots + own;
        for (int k = 0; k < count_; ++k) {
            partial.points[k] += partial.bodyPoints[k];
            partial.with[k] += partial.bodyWith[k] + fitter_.BestGain(k, own);
        }
        return;
    }
    const int slots = KeySlots(key);
    partial.slots += slots;
    for (int k = 0; k < count_; ++k) {
        const int gain = skills_[k].Gain(KeyPoints(key, k));
        partial.points[k] += gain;
        partial.with[k] += gain + fitter_.BestGain(k, slots);
    }
}

bool SubtreeBound::Reaches(const Partial& partial) const {
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        if (partial.with[k] < goal_[k]) {
            return false;
        }
        required[k] = goal_[k] - partial.points[k];
    }
    return fitter_.SlotsMayReach(required, partial.slots);
}

bool SubtreeBound::MayHit(int level, const std::uint32_t* keys) const {
    if (!enabled_) {
        return true;
    }
    Partial partial = Accumulate(level, keys);
    if (partial.unbounded) {
        return true;
    }
    for (int slot = level + 1; slot < kSlotCount; ++slot) {
        const Level& info = levels_[slot];
        int mostSlots = info.mostSlots;
        if (info.hasDoubling) {
            mostSlots = std::max(mostSlots, partial.bodySlots + info.doublingSlots);
        }
        partial.slots += mostSlots;
        for (int k = 0; k < count_; ++k) {
            int mostPoints = info.mostPoints[k];
            int mostWith = info.mostWithDecos[k];
            if (info.hasDoubling) {
                mostPoints = std::max(mostPoints, partial.bodyPoints[k]);
                mostWith = std::max(mostWith,
                                    partial.bodyWith[k] + fitter_.BestGain(k, info.doublingSlots));
            }
            partial.points[k] += mostPoints;
            partial.with[k] += mostWith;
        }
    }
    return Reaches(partial);
}

void SubtreeBound::PrepareLeaves(const std::uint32_t* keys) {
    leafBase_ = Accumulate(kSlotCount - 2, keys);
}

bool SubtreeBound::LeafMayHit(std::uint32_t lastKey) const {
    if (!enabled_ || leafBase_.unbounded) {
        return true;
    }
    Partial partial = leafBase_;
    AddGroup(partial, kSlotCount - 1, lastKey);
    return Reaches(partial);
}
