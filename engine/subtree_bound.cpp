#include "engine/subtree_bound.h"

#include <algorithm>

#include "engine/group_key.h"

SubtreeBound::SubtreeBound(const CSearchCondition& condition,
                           const std::vector<TrackedSkill>& skills,
                           const CandidateList (&candidates)[kSlotCount],
                           const GroupList (&groups)[kSlotCount], const ExactFitter& fitter)
    : fitter_(fitter), count_(static_cast<int>(skills.size())),
      weaponSlots_(std::clamp(condition.weaponSlots, 0, 3)) {
    for (int k = 0; k < count_; ++k) {
        goal_[k] = skills[k].direction * skills[k].bound;
    }
    for (int position = 0; position < kPositionCount; ++position) {
        if (position < kSlotCount && condition.fixed.pieces[position] == nullptr) {
            continue;
        }
        for (const CDecoData* deco : condition.fixed.decos[position]) {
            if (deco == nullptr) {
                continue;
            }
            // A fixed body decoration counts once more per doubling piece: too rare to bound.
            enabled_ = enabled_ && position != kBody;
            for (int k = 0; k < count_; ++k) {
                fixedGain_[k] += std::max(0, skills[k].Gain(deco->PointsFor(skills[k].systemId)));
            }
        }
    }
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

bool SubtreeBound::MayHit(int level, const std::uint32_t* keys) const {
    if (!enabled_) {
        return true;
    }
    // A doubling piece brings the body's points and the body's decorations once more.
    int bodyPoints[kMaxTrackedSkills] = {};
    int bodyWith[kMaxTrackedSkills] = {};
    int bodySlots = 0;
    if (level >= kBody) {
        if (keys[kBody] == kDoublingKey) {
            return true;
        }
        bodySlots = KeySlots(keys[kBody]);
        for (int k = 0; k < count_; ++k) {
            bodyPoints[k] = skills_[k].Gain(KeyPoints(keys[kBody], k));
            bodyWith[k] = bodyPoints[k] + fitter_.BestGain(k, bodySlots);
        }
    } else {
        if (levels_[kBody].hasDoubling) {
            return true;
        }
        bodySlots = levels_[kBody].mostSlots;
        std::copy_n(levels_[kBody].mostPoints, count_, bodyPoints);
        std::copy_n(levels_[kBody].mostWithDecos, count_, bodyWith);
    }
    int points[kMaxTrackedSkills] = {};
    int with[kMaxTrackedSkills] = {};
    int slots = weaponSlots_;
    for (int k = 0; k < count_; ++k) {
        points[k] = fixedGain_[k];
        with[k] = fixedGain_[k] + fitter_.BestGain(k, weaponSlots_);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Level& info = levels_[slot];
        if (slot <= level) {
            const std::uint32_t key = keys[slot];
            if (key == kDoublingKey) {
                slots += bodySlots + info.doublingSlots;
                for (int k = 0; k < count_; ++k) {
                    points[k] += bodyPoints[k];
                    with[k] += bodyWith[k] + fitter_.BestGain(k, info.doublingSlots);
                }
            } else {
                slots += KeySlots(key);
                for (int k = 0; k < count_; ++k) {
                    const int gain = skills_[k].Gain(KeyPoints(key, k));
                    points[k] += gain;
                    with[k] += gain + fitter_.BestGain(k, KeySlots(key));
                }
            }
            continue;
        }
        int mostSlots = info.mostSlots;
        if (info.hasDoubling) {
            mostSlots = std::max(mostSlots, bodySlots + info.doublingSlots);
        }
        slots += mostSlots;
        for (int k = 0; k < count_; ++k) {
            int mostPoints = info.mostPoints[k];
            int mostWith = info.mostWithDecos[k];
            if (info.hasDoubling) {
                mostPoints = std::max(mostPoints, bodyPoints[k]);
                mostWith =
                    std::max(mostWith, bodyWith[k] + fitter_.BestGain(k, info.doublingSlots));
            }
            points[k] += mostPoints;
            with[k] += mostWith;
        }
    }
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        if (with[k] < goal_[k]) {
            return false;
        }
        required[k] = goal_[k] - points[k];
    }
    return fitter_.SlotsMayReach(required, slots);
}
