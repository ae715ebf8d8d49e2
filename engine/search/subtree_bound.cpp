#include "engine/search/subtree_bound.h"

#include <algorithm>

#include "engine/fitting/slot_check.h"

// Called for most prefixes: each table weighs its choices all at once, from what the prefix still
// lacks once the body is counted as often as the table's choices repeat it.
bool SubtreeBound::FrontierReaches(const Partial& partial, int level,
                                   std::int64_t defenseAbove) const {
    int pointsShort[kMaxTrackedSkills];
    int withShort[kMaxTrackedSkills];
    for (int doublings = 0; doublings <= kMostDoublings; ++doublings) {
        const FrontierTable& table = tables_[level][doublings];
        if (!table.AnyAsStrongAs(minDefense_ - defenseAbove)) {
            continue;
        }
        for (int k = 0; k < count_; ++k) {
            pointsShort[k] = goal_[k] - partial.points[k] - doublings * partial.bodyPoints[k];
            withShort[k] = goal_[k] - partial.with[k] - doublings * partial.bodyWith[k];
        }
        if (table.AnyMayMeet(pointsShort, withShort, partial.slots + doublings * partial.bodySlots,
                             minDefense_ - defenseAbove)) {
            return true;
        }
    }
    return false;
}

SubtreeBound::Partial SubtreeBound::Accumulate(int level, const GroupKey* keys) {
    if (level < kBody) {
        return Start(level, keys);
    }
    return PrefixAt(level, keys);
}

SubtreeBound::Partial SubtreeBound::Start(int level, const GroupKey* keys) const {
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
    for (int slot = 0; slot <= std::min(level, static_cast<int>(kBody)); ++slot) {
        AddGroup(partial, slot, keys[slot]);
    }
    return partial;
}

// Siblings share every group above them: what those bring is kept per level and only the levels
// whose group changed are added again.
const SubtreeBound::Partial& SubtreeBound::PrefixAt(int level, const GroupKey* keys) {
    int same = 0;
    while (same <= std::min(level, cachedLevel_) && cachedKeys_[same] == keys[same]) {
        ++same;
    }
    if (same <= kBody) {
        cached_[kBody] = Start(kBody, keys);
        cachedKeys_[kHead] = keys[kHead];
        cachedKeys_[kBody] = keys[kBody];
        same = kBody + 1;
    }
    for (int slot = same; slot <= level; ++slot) {
        cached_[slot] = cached_[slot - 1];
        if (!cached_[slot].unbounded) {
            AddGroup(cached_[slot], slot, keys[slot]);
        }
        cachedKeys_[slot] = keys[slot];
    }
    cachedLevel_ = level;
    return cached_[level];
}

// What one group brings, skill by skill, handed to `take`, and its slots: a doubling piece brings
// the body given once more.
template <typename Take>
int SubtreeBound::EachGain(int slot, GroupKey key, const int* bodyPoints, const int* bodyWith,
                           int bodySlots, Take take) const {
    if (key == kDoublingKey) {
        const int own = levels_[slot].doublingSlots;
        for (int k = 0; k < count_; ++k) {
            take(k, bodyPoints[k], bodyWith[k] + fitter_.BestGain(k, own));
        }
        return bodySlots + own;
    }
    return EachOwnGain(key, take);
}

void SubtreeBound::AddGroup(Partial& partial, int slot, GroupKey key) const {
    partial.slots += EachGain(slot, key, partial.bodyPoints, partial.bodyWith, partial.bodySlots,
                              [&partial](int k, int points, int with) {
                                  partial.points[k] += points;
                                  partial.with[k] += with;
                              });
}

// What a group between brings was worked out when it was kept; only a doubling piece, which
// brings the body chosen above, is added as the prefix stands.
void SubtreeBound::AddBetween(Partial& partial, int slot, const Between& between) const {
    if (between.group->key == kDoublingKey) {
        AddGroup(partial, slot, between.group->key);
        return;
    }
    const Contribution& own = between.own;
    partial.slots += own.slots;
    for (int k = 0; k < count_; ++k) {
        partial.points[k] += own.points[k];
        partial.with[k] += own.with[k];
    }
}

bool SubtreeBound::Reaches(const Partial& partial) const {
    return MayPassSlotCheck(partial) &&
           fitter_.GoalsMayBeMet(goal_, partial.points, partial.with, partial.slots);
}

// The rule-based fitting counts a doubling piece's own slots as none, so the slots of a partial
// are at least those it weighs the missing points against.
bool SubtreeBound::MayPassSlotCheck(const Partial& partial) const {
    int missing = 0;
    for (int k = 0; k < count_; ++k) {
        if ((slotChecked_ >> k & 1U) != 0) {
            missing += std::max(goal_[k] - partial.points[k], 0);
        }
    }
    return missing <= kSlotCheckPointsPerSlot * partial.slots;
}

bool SubtreeBound::MayHit(int level, const GroupKey* keys, std::size_t group,
                          std::int64_t defenseAbove) {
    if (!enabled_) {
        return true;
    }
    const int frontierLevel = std::max(level + 1, firstFrontier_);
    if (level > kBody && frontierLevel == level + 1 && !failed_[level].Keeps()) {
        return SiblingMayHit(level, keys, group, defenseAbove);
    }
    const bool groupsBetween = frontierLevel == level + 2 && !betweenGroups_.empty();
    if (level >= kBody && (frontierLevel == level + 1 || groupsBetween)) {
        return KeptPrefixMayHit(level, frontierLevel, PrefixAt(level, keys), defenseAbove);
    }
    Partial partial = Accumulate(level, keys);
    if (!partial.unbounded) {
        AddBestOfLevels(partial, level + 1, frontierLevel, defenseAbove);
    }
    return Weigh(partial, frontierLevel, defenseAbove);
}

// KeptPrefixMayHit's answer for a prefix with the frontier right below it and none of its level
// kept, from what the groups above leave short and what its own group brings, without the prefix
// copied.
bool SubtreeBound::SiblingMayHit(int level, const GroupKey* keys, std::size_t group,
                                 std::int64_t defenseAbove) {
    const ParentShortfalls& parent = ParentAt(level, keys);
    if (parent.unbounded) {
        return true;
    }
    const OwnGain& own = keys[level] == kDoublingKey ? parent.doubling : ownGains_[level][group];
    const int* points = own.points;
    const int* with = own.with;
    const int slots = own.slots;
    // The tables with doubling pieces first: they hold few choices, at the last level that of the
    // doubling piece alone, and they meet more often than the others.
    const std::int64_t leastDefense = minDefense_ - defenseAbove;
    for (int doublings = kMostDoublings; doublings >= 0; --doublings) {
        const FrontierTable& table = tables_[level + 1][doublings];
        if (!table.AnyAsStrongAs(leastDefense)) {
            continue;
        }
        int pointsShort[kMaxTrackedSkills];
        int withShort[kMaxTrackedSkills];
        for (int k = 0; k < count_; ++k) {
            pointsShort[k] = parent.points[doublings][k] - points[k];
            withShort[k] = parent.with[doublings][k] - with[k];
        }
        if (table.AnyMayMeet(pointsShort, withShort, parent.slots[doublings] + slots,
                             leastDefense)) {
            return true;
        }
    }
    return false;
}

const SubtreeBound::ParentShortfalls& SubtreeBound::NewParent(int level, const GroupKey* keys) {
    ParentShortfalls& parent = parents_[level];
    const Partial& above = PrefixAt(level - 1, keys);
    std::copy_n(keys, level, parent.keys);
    parent.known = true;
    parent.unbounded = above.unbounded;
    for (int doublings = 0; doublings <= kMostDoublings; ++doublings) {
        for (int k = 0; k < count_; ++k) {
            parent.points[doublings][k] =
                goal_[k] - above.points[k] - doublings * above.bodyPoints[k];
            parent.with[doublings][k] = goal_[k] - above.with[k] - doublings * above.bodyWith[k];
        }
        parent.slots[doublings] = above.slots + doublings * above.bodySlots;
    }
    if (levels_[level].hasDoubling) {
        OwnGain& doubling = parent.doubling;
        doubling.slots = EachGain(level, kDoublingKey, above.bodyPoints, above.bodyWith,
                                  above.bodySlots, [&doubling](int k, int points, int with) {
                                      doubling.points[k] = points;
                                      doubling.with[k] = with;
                                  });
    }
    return parent;
}

// Most prefixes have the frontier right below them, or one level between: their kept sums are
// weighed as they are, unless a prefix ruled out before brings as much in everything.
bool SubtreeBound::KeptPrefixMayHit(int level, int frontierLevel, const Partial& partial,
                                    std::int64_t defenseAbove) {
    if (partial.unbounded) {
        return true;
    }
    std::int64_t values[kMostFailureValues];
    const bool remembered = failed_[level].Keeps();
    if (remembered) {
        PackFailure(partial, defenseAbove, values);
        if (failed_[level].Covers(values)) {
            return false;
        }
    }
    const bool mayHit = frontierLevel == level + 1
                            ? Weigh(partial, frontierLevel, defenseAbove)
                            : SomeGroupBetweenReaches(partial, frontierLevel, defenseAbove);
    if (!mayHit && remembered) {
        failed_[level].Add(values);
    }
    return mayHit;
}

// Points first, which tell prefixes apart soonest.
void SubtreeBound::PackFailure(const Partial& partial, std::int64_t defenseAbove,
                               std::int64_t* values) const {
    values = std::copy_n(partial.points, count_, values);
    values = std::copy_n(partial.with, count_, values);
    *values++ = partial.slots;
    *values++ = defenseAbove;
    if (bodyRepeated_) {
        values = std::copy_n(partial.bodyPoints, count_, values);
        values = std::copy_n(partial.bodyWith, count_, values);
        *values = partial.bodySlots;
    }
}

// With one level between the prefix and the frontier, each of that level's groups that no other
// beats is weighed with the frontier in turn, strongest first, as the prefixes under it would be:
// a prefix whose best groups of that level cannot meet every skill with the frontier rules out
// all its groups below, where taking the best of that level skill by skill would pass nearly all.
bool SubtreeBound::SomeGroupBetweenReaches(const Partial& partial, int frontierLevel,
                                           std::int64_t defenseAbove) const {
    if (partial.unbounded) {
        return true;
    }
    for (const Between& between : betweenGroups_) {
        const std::int64_t defense = defenseAbove + between.group->bestDefense;
        if (defense + strongestFrom_[frontierLevel] < minDefense_) {
            return false;
        }
        Partial withGroup = partial;
        AddBetween(withGroup, frontierLevel - 1, between);
        if (FrontierReaches(withGroup, frontierLevel, defense)) {
            return true;
        }
    }
    return false;
}

// The levels between the prefix and the frontier count with the best of each on its own.
void SubtreeBound::AddBestOfLevels(Partial& partial, int first, int end,
                                   std::int64_t& defenseAbove) const {
    for (int slot = first; slot < end; ++slot) {
        const Level& info = levels_[slot];
        defenseAbove += info.mostDefense;
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
}

bool SubtreeBound::Weigh(const Partial& partial, int frontierLevel,
                         std::int64_t defenseAbove) const {
    if (partial.unbounded) {
        return true;
    }
    if (frontierLevel < kSlotCount) {
        return FrontierReaches(partial, frontierLevel, defenseAbove);
    }
    return Reaches(partial);
}

void SubtreeBound::PrepareLeaves(const GroupKey* keys, std::int64_t defenseAbove) {
    leafBase_ = Accumulate(kSlotCount - 2, keys);
    if (!enabled_ || leafBase_.unbounded) {
        return;
    }
    int pointsShort[kMaxTrackedSkills];
    int withShort[kMaxTrackedSkills];
    for (int k = 0; k < count_; ++k) {
        pointsShort[k] = goal_[k] - leafBase_.points[k];
        withShort[k] = goal_[k] - leafBase_.with[k];
    }
    leafTable_.MayMeetEach(pointsShort, withShort, leafBase_.slots, minDefense_ - defenseAbove,
                           leafMayMeet_);
}

bool SubtreeBound::LeafMayHit(std::size_t index, GroupKey lastKey) const {
    if (!enabled_ || leafBase_.unbounded) {
        return true;
    }
    if (lastKey != kDoublingKey) {
        return leafMayMeet_[leafPosition_[index]] != 0;
    }
    Partial partial = leafBase_;
    AddGroup(partial, kSlotCount - 1, lastKey);
    return Reaches(partial);
}
