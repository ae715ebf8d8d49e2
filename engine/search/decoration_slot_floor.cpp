#include "engine/search/decoration_slot_floor.h"

#include <algorithm>
#include <limits>
#include <map>

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
        for (int m = k + 1; m < count_; ++m) {
            onlyGrows_ = onlyGrows_ && !fitter.ServesBoth(k, m);
        }
    }
    for (int level = 0; level < kSlotCount; ++level) {
        int most[kMaxTrackedSkills];
        int least[kMaxTrackedSkills];
        std::fill_n(most, count_, std::numeric_limits<int>::min());
        std::fill_n(least, count_, std::numeric_limits<int>::max());
        for (const CandidateGroup& group : groups[level]) {
            std::array<int, kMaxTrackedSkills>& gains = gains_[level].emplace_back();
            if (group.key == kDoublingKey) {
                hasDoubling_[level] = true;
                continue;
            }
            for (int k = 0; k < count_; ++k) {
                gains[k] = skills[k].Gain(KeyPoints(group.key, k));
                most[k] = std::max(most[k], gains[k]);
                least[k] = std::min(least[k], gains[k]);
            }
        }
        for (int k = 0; k < count_; ++k) {
            most_[level][k] = most[k] == std::numeric_limits<int>::min() ? 0 : most[k];
            least_[level][k] = least[k] == std::numeric_limits<int>::max() ? 0 : least[k];
        }
        NoteSameGains(level);
    }
}

// Looked up rather than searched for: a level of large tables holds thousands of groups.
void DecorationSlotFloor::NoteSameGains(int level) {
    const auto& gains = gains_[level];
    std::map<std::array<int, kMaxTrackedSkills>, std::size_t> firstGiving;
    for (std::size_t group = 0; group < gains.size(); ++group) {
        sameGains_[level].push_back(firstGiving.try_emplace(gains[group], group).first->second);
    }
    floors_[level].resize(gains.size());
}

const DecorationSlotFloor::Prefix& DecorationSlotFloor::PrefixAt(int level,
                                                                 const GroupKey* keys) const {
    int known = -1;
    while (known < std::min(level, cachedLevel_) && cachedKeys_[known + 1] == keys[known + 1]) {
        ++known;
    }
    for (int slot = known + 1; slot <= level; ++slot) {
        Prefix& prefix = prefixes_[slot];
        if (slot == 0) {
            prefix = Prefix{};
            std::copy_n(open_, count_, prefix.required);
        } else {
            prefix = prefixes_[slot - 1];
        }
        cachedKeys_[slot] = keys[slot];
        if (keys[slot] == kDoublingKey) {
            ++prefix.doublings;
            continue;
        }
        for (int k = 0; k < count_; ++k) {
            prefix.required[k] -= skills_[k].Gain(KeyPoints(keys[slot], k));
        }
    }
    cachedLevel_ = level;
    return prefixes_[level];
}

bool DecorationSlotFloor::LackAt(int level, const GroupKey* keys, Lack& lack) const {
    const bool bodyChosen = level >= kBody;
    if (!bounded_ || (bodyChosen ? keys[kBody] == kDoublingKey : hasDoubling_[kBody])) {
        return false;
    }
    const Prefix& prefix = PrefixAt(level, keys);
    int body[kMaxTrackedSkills];
    for (int k = 0; k < count_; ++k) {
        body[k] = bodyChosen ? skills_[k].Gain(KeyPoints(keys[kBody], k)) : most_[kBody][k];
        lack.required[k] = prefix.required[k] - prefix.doublings * body[k];
    }
    lack.times = 1 + prefix.doublings;
    for (int slot = level + 1; slot < kSlotCount; ++slot) {
        const bool doubling = hasDoubling_[slot];
        lack.times += doubling ? 1 : 0;
        for (int k = 0; k < count_; ++k) {
            lack.required[k] -= doubling ? std::max(most_[slot][k], body[k]) : most_[slot][k];
        }
    }
    lack.bodySlots = bodyChosen ? KeySlots(keys[kBody]) : 3;
    return true;
}

int DecorationSlotFloor::Fewest(int level, const GroupKey* keys) const {
    Lack lack;
    return LackOf(level, keys, lack) ? FewestWithBodyCounted(lack, lack.bodySlots, 0) : 0;
}

bool DecorationSlotFloor::FitsInDownToBody(int level, const GroupKey* keys,
                                           std::int64_t slots) const {
    Lack lack;
    if (!LackOf(level, keys, lack)) {
        return true;
    }
    const int most = static_cast<int>(std::min<std::int64_t>(slots, lack.bodySlots));
    return FewestWithBodyCounted(lack, most, most) <= slots;
}

// Under a chosen body, what the siblings of a level lack differs only by what each gives: what
// the group above left them is found once for all of them.
bool DecorationSlotFloor::LackOf(int level, const GroupKey* keys, Lack& lack) const {
    if (level <= kBody) {
        return LackAt(level, keys, lack);
    }
    const SiblingBase& base = SiblingBaseAt(level, keys);
    if (!base.bounded) {
        return false;
    }
    lack = base.lack;
    const GroupKey key = keys[level];
    if (key == kDoublingKey) {
        ++lack.times;
    }
    for (int k = 0; k < count_; ++k) {
        lack.required[k] -= key == kDoublingKey ? skills_[k].Gain(KeyPoints(keys[kBody], k))
                                                : skills_[k].Gain(KeyPoints(key, k));
    }
    return true;
}

const DecorationSlotFloor::SiblingBase&
DecorationSlotFloor::NewSiblingBase(int level, const GroupKey* keys) const {
    SiblingBase& base = siblingBases_[level];
    Lack lack;
    const bool bounded = LackBeforeSibling(level, keys, lack);
    std::copy_n(keys, level, base.keys);
    // Groups above that differ only in their slots leave the same lack: what was worked out for
    // the last one, the floors of the siblings too, holds for them.
    const bool same = base.known && bounded && base.bounded && SameLack(lack, base.lack);
    base.known = true;
    if (same) {
        return base;
    }
    base.bounded = bounded;
    base.lack = lack;
    base.stamp = ++lastStamp_;
    base.weakestKnown = 0;
    // A sibling reads the body's fillings only where its decorations count more than once: the
    // others under a body counted once ask for their own floor instead.
    for (int doubling = 0; base.bounded && doubling <= 1; ++doubling) {
        const int times = base.lack.times + doubling;
        if (times == 1 || (doubling == 1 && !hasDoubling_[level])) {
            continue;
        }
        std::copy_n(base.lack.required, count_, base.bodyFilled[doubling][0]);
        for (int slots = 1; slots <= base.lack.bodySlots; ++slots) {
            for (int k = 0; k < count_; ++k) {
                base.bodyFilled[doubling][slots][k] =
                    base.lack.required[k] - times * fitter_.BestGain(k, slots);
            }
        }
    }
    return base;
}

bool DecorationSlotFloor::SameLack(const Lack& a, const Lack& b) const {
    return a.times == b.times && a.bodySlots == b.bodySlots &&
           std::equal(a.required, a.required + count_, b.required);
}

// A body whose decorations count more than once is tried full first: that fits most often.
bool DecorationSlotFloor::FitsWithBodyFilled(int level, const GroupKey* keys, std::size_t group,
                                             std::int64_t slots, int most) const {
    const SiblingBase& base = siblingBases_[level];
    const bool doubling = keys[level] == kDoublingKey;
    int bodyGain[kMaxTrackedSkills];
    if (doubling) {
        for (int k = 0; k < count_; ++k) {
            bodyGain[k] = skills_[k].Gain(KeyPoints(keys[kBody], k));
        }
    }
    const int* gain = doubling ? bodyGain : gains_[level][group].data();
    const auto& bodyFilled = base.bodyFilled[doubling ? 1 : 0];
    for (int bodyUsed = most; bodyUsed >= 0; --bodyUsed) {
        int rest[kMaxTrackedSkills];
        bool lacking = false;
        for (int k = 0; k < count_; ++k) {
            rest[k] = bodyFilled[bodyUsed][k] - gain[k];
            lacking = lacking || rest[k] > 0;
        }
        // Where nothing lacks, the rest takes no slots: most sets fit so, with the body full.
        if (!lacking || bodyUsed + fitter_.SlotsNeeded(rest) <= slots) {
            return true;
        }
    }
    return false;
}

int DecorationSlotFloor::NewWeakestSiblingSlots(int level, const SiblingBase& base,
                                                int bodyUsed) const {
    int rest[kMaxTrackedSkills];
    for (int k = 0; k < count_; ++k) {
        rest[k] = base.bodyFilled[0][bodyUsed][k] - least_[level][k];
    }
    base.weakestSlots[bodyUsed] = fitter_.SlotsNeeded(rest);
    base.weakestKnown = static_cast<std::uint8_t>(base.weakestKnown | 1U << bodyUsed);
    return base.weakestSlots[bodyUsed];
}

int DecorationSlotFloor::NewSingleBodyFloor(int level, const SiblingBase& base,
                                            std::size_t same) const {
    const int* gain = gains_[level][same].data();
    int rest[kMaxTrackedSkills];
    for (int k = 0; k < count_; ++k) {
        rest[k] = base.lack.required[k] - gain[k];
    }
    floors_[level][same] = KnownFloor{base.stamp, fitter_.SlotsNeeded(rest)};
    return floors_[level][same].floor;
}

// What the level above lacks with the most of `level` given back: the sets of the level's own
// group lack that less what the group gives.
bool DecorationSlotFloor::LackBeforeSibling(int level, const GroupKey* keys, Lack& lack) const {
    if (!LackAt(level - 1, keys, lack)) {
        return false;
    }
    const bool doubling = hasDoubling_[level];
    lack.times -= doubling ? 1 : 0;
    for (int k = 0; k < count_; ++k) {
        const int body = skills_[k].Gain(KeyPoints(keys[kBody], k));
        lack.required[k] += doubling ? std::max(most_[level][k], body) : most_[level][k];
    }
    return true;
}

// The body takes some of at most `bodySlots` slots, each of its decorations counting `times`
// times; the other positions take the slots the rest needs. Once the fewest found is at most
// `enough`, the rest of the body's choices are not tried.
int DecorationSlotFloor::FewestWithBodyCounted(const Lack& lack, int bodySlots, int enough) const {
    int fewest = fitter_.SlotsNeeded(lack.required);
    if (lack.times == 1) {
        return fewest;
    }
    for (int slots = 1; slots <= bodySlots && fewest > slots && fewest > enough; ++slots) {
        int rest[kMaxTrackedSkills];
        for (int k = 0; k < count_; ++k) {
            rest[k] = lack.required[k] - lack.times * fitter_.BestGain(k, slots);
        }
        fewest = std::min(fewest, slots + fitter_.SlotsNeeded(rest));
    }
    return fewest;
}

int DecorationSlotFloor::FewestAbove(int level, const GroupKey* keys) const {
    if (level == 0) {
        return 0;
    }
    Above& above = above_[level];
    if (!above.known || !std::equal(keys, keys + level, above.keys)) {
        above.fewest = Fewest(level - 1, keys);
        std::copy_n(keys, level, above.keys);
        above.known = true;
    }
    return above.fewest;
}
