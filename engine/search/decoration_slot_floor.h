#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/condition/group_key.h"
#include "engine/condition/tracked_skill.h"
#include "engine/exact/exact_fitting.h"

// The fewest slots the decorations of any set under some chosen groups must take: what the
// chosen skills still lack after the chosen groups, the most the groups still to be chosen can
// give and the fixed decorations, in the fewest slots that could give it. A set's free slots are
// at most its slots less this.
//
// A body-doubling piece brings the body's points once more and makes each body decoration count
// once more: it is counted with the body's points (the most a body can bring while none is
// chosen), and the body's slots with the most times their decorations may count. A doubling body
// itself, or a fixed decoration on the body, leaves the decorations unbounded: this says 0.
class DecorationSlotFloor {
public:
    DecorationSlotFloor(const CSearchCondition& condition, const std::vector<TrackedSkill>& skills,
                        const GroupList (&groups)[kSlotCount], const ExactFitter& fitter);

    // For the sets whose groups of levels 0..level-1 have `keys`, with the group of `level`
    // still to be chosen: at most what any group there leaves, so one answer serves all the
    // siblings; kept for the last keys asked.
    int FewestAbove(int level, const GroupKey* keys) const;
    // Whether the floor of the sets whose groups of levels 0..level have `keys` is at most
    // `slots`, found with no more of the body's choices than it takes. `group`: the place of
    // the group of `level` among its level's groups.
    bool FitsIn(int level, const GroupKey* keys, std::size_t group, std::int64_t slots) const;
    // Whether the floor of sets under some groups is never below the floor above them, so that a
    // set that fits under a group fits above it too: where no decoration serves two chosen
    // skills. A group chosen only adds to what lacks and to how often the body's decorations
    // count at most what was counted for it, and the slots of what lacks then only grow with it;
    // where one decoration serves two skills, the slots of the neediest alone count once both
    // lack, which may be fewer than those of one.
    bool OnlyGrows() const { return onlyGrows_; }

private:
    // For the sets whose groups of levels 0..level have `keys`.
    int Fewest(int level, const GroupKey* keys) const;
    // What the goals lack after the regular groups chosen, and how many doubling ones there are.
    struct Prefix {
        int required[kMaxTrackedSkills] = {};
        int doublings = 0;
    };
    // What the decorations must still give once the levels under the chosen ones bring their
    // most, how often a body decoration may count, and the body's slots.
    struct Lack {
        int required[kMaxTrackedSkills] = {};
        int times = 1;
        int bodySlots = 3;
    };
    const Prefix& PrefixAt(int level, const GroupKey* keys) const;
    // False where the decorations are unbounded.
    bool LackAt(int level, const GroupKey* keys, Lack& lack) const;
    bool LackOf(int level, const GroupKey* keys, Lack& lack) const;
    bool LackBeforeSibling(int level, const GroupKey* keys, Lack& lack) const;
    bool FitsInDownToBody(int level, const GroupKey* keys, std::int64_t slots) const;
    bool SiblingFitsIn(int level, const GroupKey* keys, std::size_t group,
                       std::int64_t slots) const;
    void NoteSameGains(int level);
    int FewestWithBodyCounted(const Lack& lack, int bodySlots, int enough) const;

    const ExactFitter& fitter_;
    TrackedSkill skills_[kMaxTrackedSkills];
    int count_ = 0;
    bool bounded_ = true;
    bool onlyGrows_ = true;
    // What is left to gain with nothing chosen: the goals less the fixed decorations.
    int open_[kMaxTrackedSkills] = {};
    // The most one group of a level other than the doubling one adds to each skill's gain; 0
    // where the level has no such group (it then holds no sets at all, or only doubling ones).
    int most_[kSlotCount][kMaxTrackedSkills] = {};
    int least_[kSlotCount][kMaxTrackedSkills] = {}; // and the least, 0 where there is none
    bool hasDoubling_[kSlotCount] = {};
    // What each group of a level but the doubling one adds to each skill's gain, by its place:
    // the siblings of the last levels ask it for every group. Groups that differ only in their
    // slots give the same: each has the place of the first of them that gives what it does.
    std::vector<std::array<int, kMaxTrackedSkills>> gains_[kSlotCount];
    std::vector<std::size_t> sameGains_[kSlotCount];
    // The prefixes of the keys last asked about, up to `cachedLevel_`: sibling groups share all
    // but the last.
    mutable Prefix prefixes_[kSlotCount];
    mutable GroupKey cachedKeys_[kSlotCount] = {};
    mutable int cachedLevel_ = -1;
    // What FewestAbove last answered for each level, and the keys above it then: the siblings of
    // a level and the leaves under each of them ask in turn, so one answer for all the levels was
    // worked out anew at every sibling.
    struct Above {
        GroupKey keys[kSlotCount] = {};
        bool known = false;
        int fewest = 0;
    };
    mutable Above above_[kSlotCount];
    // For each level under the body, what its siblings under the keys above last asked lack
    // before their own gain.
    struct SiblingBase {
        GroupKey keys[kSlotCount] = {};
        Lack lack;
        bool known = false;
        bool bounded = false;
        std::uint64_t stamp = 0; // new for each base worked out
        // What `lack` leaves once the body's best decorations in each count of its slots (none
        // at 0) count `lack.times` times, for every sibling but the doubling one ([0]), and once
        // more for that one ([1]).
        int bodyFilled[2][4][kMaxTrackedSkills] = {};
        // For each count of the body's slots filled, as bit `bodyUsed` of `weakestKnown` tells
        // once worked out: the slots of what the level's least gains leave lacking.
        mutable std::uint8_t weakestKnown = 0;
        mutable int weakestSlots[4] = {};
    };
    const SiblingBase& SiblingBaseAt(int level, const GroupKey* keys) const {
        const SiblingBase& base = siblingBases_[level];
        return base.known && std::equal(keys, keys + level, base.keys)
                   ? base
                   : NewSiblingBase(level, keys);
    }
    const SiblingBase& NewSiblingBase(int level, const GroupKey* keys) const;
    bool SameLack(const Lack& a, const Lack& b) const;
    bool FitsWithBodyFilled(int level, const GroupKey* keys, std::size_t group, std::int64_t slots,
                            int most) const;
    int SingleBodyFloor(int level, const SiblingBase& base, std::size_t group) const;
    int NewSingleBodyFloor(int level, const SiblingBase& base, std::size_t same) const;
    int WeakestSiblingSlots(int level, const SiblingBase& base, int bodyUsed) const {
        return (base.weakestKnown >> bodyUsed & 1U) != 0
                   ? base.weakestSlots[bodyUsed]
                   : NewWeakestSiblingSlots(level, base, bodyUsed);
    }
    int NewWeakestSiblingSlots(int level, const SiblingBase& base, int bodyUsed) const;
    mutable SiblingBase siblingBases_[kSlotCount];
    mutable std::uint64_t lastStamp_ = 0;
    // The floor of each group that gives what it does, under the base of `stamp`, where the
    // body's decorations count once.
    struct KnownFloor {
        std::uint64_t stamp = 0;
        int floor = 0;
    };
    mutable std::vector<KnownFloor> floors_[kSlotCount];
};

inline bool DecorationSlotFloor::FitsIn(int level, const GroupKey* keys, std::size_t group,
                                        std::int64_t slots) const {
    if (slots < 0) {
        return false;
    }
    return level > kBody ? SiblingFitsIn(level, keys, group, slots)
                         : FitsInDownToBody(level, keys, slots);
}

// FitsIn for a level under the body, as FewestWithBodyCounted would answer it: the floor fits
// where one choice of the body's slots fits, so the first that does ends the search, and the
// sibling's own gain is all that changes the shared base. In the header, with the floor of a body
// counted once and the test of the level's least gains, which answer nearly every sibling: the
// ranking asks it for nearly every group under the body, at the leaves for every leaf. The
// choices of the body's slots are tried apart, so that the test made for every sibling stays
// small.
inline bool DecorationSlotFloor::SiblingFitsIn(int level, const GroupKey* keys, std::size_t group,
                                               std::int64_t slots) const {
    const SiblingBase& base = SiblingBaseAt(level, keys);
    if (!base.bounded) {
        return true;
    }
    // A doubling sibling brings the body's points once more and makes its decorations count once
    // more.
    const bool doubling = keys[level] == kDoublingKey;
    if (!doubling && base.lack.times == 1) {
        return SingleBodyFloor(level, base, group) <= slots;
    }
    const int most = static_cast<int>(std::min<std::int64_t>(slots, base.lack.bodySlots));
    // Where the floor only grows, no sibling leaves more lacking than the least gains of its
    // level do: once those fit with the body full, so does every sibling with as many slots.
    if (!doubling && onlyGrows_ && most + WeakestSiblingSlots(level, base, most) <= slots) {
        return true;
    }
    return FitsWithBodyFilled(level, keys, group, slots, most);
}

// With the body's decorations counting once, filling the body is no different from filling any
// other position: the floor is the slots of what the sibling leaves lacking, whatever the slots
// asked about. Siblings that give the same share it.
inline int DecorationSlotFloor::SingleBodyFloor(int level, const SiblingBase& base,
                                                std::size_t group) const {
    const std::size_t same = sameGains_[level][group];
    const KnownFloor& known = floors_[level][same];
    return known.stamp == base.stamp ? known.floor : NewSingleBodyFloor(level, base, same);
}
