#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/condition/group_key.h"
#include "engine/condition/tracked_skill.h"
#include "engine/exact/exact_fitting.h"
#include "engine/search/failed_prefixes.h"
#include "engine/search/frontier_table.h"

// An upper bound on what the groups still to be chosen can bring: before the enumeration descends
// under a group, it asks whether the best remaining groups, with the best decorations for their
// slots, could still meet every chosen skill. When they surely cannot, no combination below can
// be a hit, whichever fitting judges it. For the last levels it weighs their groups together: the
// best group of one skill is rarely the best of another.
class SubtreeBound {
public:
    SubtreeBound(const CSearchCondition& condition, const std::vector<TrackedSkill>& skills,
                 const CandidateList (&candidates)[kSlotCount],
                 const GroupList (&groups)[kSlotCount], const ExactFitter& fitter);

    // Whether the combinations whose groups of levels 0..level have `keys`, and best defences
    // adding up to `defenseAbove`, may hold a hit. `group`: the place of the group of `level`
    // among its level's groups.
    bool MayHit(int level, const GroupKey* keys, std::size_t group, std::int64_t defenseAbove);
    // The same for single combinations, quicker: the first four keys once, for all groups of
    // the last level at a time, then each last one by its place in its level's groups. Only a
    // leaf whose best defence adds up to the minimum with `defenseAbove` may be asked about.
    void PrepareLeaves(const GroupKey* keys, std::int64_t defenseAbove);
    bool LeafMayHit(std::size_t index, GroupKey lastKey) const;

private:
    // What the groups chosen so far bring at most: points, points with the best decorations in
    // their slots, and slots, a doubling piece counting the body's once more.
    struct Partial {
        bool unbounded = false; // a doubling body: too rare to bound
        int points[kMaxTrackedSkills] = {};
        int with[kMaxTrackedSkills] = {};
        int slots = 0;
        int bodyPoints[kMaxTrackedSkills] = {};
        int bodyWith[kMaxTrackedSkills] = {};
        int bodySlots = 0;
    };

    struct Level {
        bool hasDoubling = false;
        int doublingSlots = 0; // most slots of a doubling piece
        int mostSlots = 0;     // over the other groups
        std::int64_t mostDefense = std::numeric_limits<int>::min();
        int mostPoints[kMaxTrackedSkills] = {};
        int mostWithDecos[kMaxTrackedSkills] = {}; // points plus best decorations in its slots
    };
    // What some choice of groups for the last levels brings together: a frontier holds every such
    // choice that no other one beats in every skill, in slots and, with a minimum defence, in best
    // defence.
    struct Contribution {
        int points[kMaxTrackedSkills] = {};
        int with[kMaxTrackedSkills] = {};
        int slots = 0;
        std::int64_t defense = 0;
        int doublings = 0; // doubling pieces, each bringing the body once more
    };
    using Frontier = std::vector<Contribution>;
    static constexpr int kNone = -(1 << 20);
    // Past this many choices a frontier costs more to build and test than the subtrees it rules
    // out; weeding out the dominated ones costs about the product of the choices joined and those
    // kept, so a join of more is not tried.
    static constexpr std::size_t kFrontierLimit = 1024;
    static constexpr std::size_t kJoinLimit = 1024;

    Partial Accumulate(int level, const GroupKey* keys);
    Partial Start(int level, const GroupKey* keys) const;
    const Partial& PrefixAt(int level, const GroupKey* keys);
    template <typename Take> int EachOwnGain(GroupKey key, Take take) const;
    template <typename Take>
    int EachGain(int slot, GroupKey key, const int* bodyPoints, const int* bodyWith, int bodySlots,
                 Take take) const;
    void AddGroup(Partial& partial, int slot, GroupKey key) const;
    struct Between;
    void AddBetween(Partial& partial, int slot, const Between& between) const;
    bool Reaches(const Partial& partial) const;
    bool MayPassSlotCheck(const Partial& partial) const;
    void PrepareFailedPrefixes();
    bool KeptPrefixMayHit(int level, int frontierLevel, const Partial& partial,
                          std::int64_t defenseAbove);
    void PackFailure(const Partial& partial, std::int64_t defenseAbove, std::int64_t* values) const;
    void AddBestOfLevels(Partial& partial, int first, int end, std::int64_t& defenseAbove) const;
    bool SomeGroupBetweenReaches(const Partial& partial, int frontierLevel,
                                 std::int64_t defenseAbove) const;
    void KeepGroupsBetween(const GroupList& groups);
    bool Beats(const Contribution& a, const Contribution& b) const;
    bool Weigh(const Partial& partial, int frontierLevel, std::int64_t defenseAbove) const;
    Contribution ContributionOf(const CandidateGroup& group) const;
    Contribution DoublingContribution(int level, const CandidateGroup& group) const;
    bool Dominates(const Contribution& a, const Contribution& b) const;
    bool KeepUndominated(Frontier& frontier) const;
    std::int64_t LeastDefenseFrom(int level) const;
    void BuildFrontiers(const GroupList (&groups)[kSlotCount]);
    void BuildLeafTable(const GroupList& leaves);
    void KeepFrontier(int level, const Frontier& frontier);
    int SlotCap() const;
    bool FrontierReaches(const Partial& partial, int level, std::int64_t defenseAbove) const;
    bool SiblingMayHit(int level, const GroupKey* keys, std::size_t group,
                       std::int64_t defenseAbove);

    const ExactFitter& fitter_;
    std::vector<TrackedSkill> skills_;
    int count_ = 0;
    int goal_[kMaxTrackedSkills] = {}; // the bound of each skill, in gains
    int fixedGain_[kMaxTrackedSkills] = {};
    int weaponSlots_ = 0;
    std::int64_t minDefense_ = 0;
    // The skills whose missing points the rule-based fitting weighs against two a slot before it
    // places a decoration, giving up where they are more: those that want more points. The exact
    // fitting has no such check, and none is weighed for it.
    std::uint32_t slotChecked_ = 0;
    bool enabled_ = true;
    Level levels_[kSlotCount];
    Partial leafBase_;
    // The groups of the last level but the doubling one, in their order, and where each group
    // stands in it (-1 for the doubling one); whether each may complete the prefix last prepared.
    FrontierTable leafTable_;
    std::vector<int> leafPosition_;
    std::vector<std::uint8_t> leafMayMeet_;
    // What the groups of levels 0..n bring, for the keys last asked about, up to `cachedLevel_`.
    Partial cached_[kSlotCount];
    GroupKey cachedKeys_[kSlotCount] = {};
    int cachedLevel_ = -1;
    // The undominated choices for the levels from `level` to the last, by how many doubling
    // pieces they hold (at most one a level). Empty where the per-level bests are used instead.
    static constexpr int kFirstFrontierLevel = kWaist;
    static constexpr int kMostDoublings = kSlotCount - kFirstFrontierLevel;
    FrontierTable tables_[kSlotCount][kMostDoublings + 1];
    int firstFrontier_ = kSlotCount; // the lowest level with a frontier
    // The groups of the level right above the frontier that no other beats, with what each
    // brings, worked out once.
    struct Between {
        const CandidateGroup* group = nullptr;
        Contribution own;
    };
    std::vector<Between> betweenGroups_;
    std::int64_t strongestFrom_[kSlotCount + 1] = {}; // best defences from a level below it on
    // The prefixes of each level ruled out so far, by points, points with decorations, slots,
    // defence and, where a doubling piece may repeat it below, the body's. A prefix that brings
    // no more in any of them holds no hit: the decorations of a hit under it, in no more slots,
    // would let the one ruled out pass. Where a decoration serves two skills the bound may rule
    // out the stronger of two prefixes and let the weaker pass, but then the weaker holds none.
    static constexpr int kMostFailureValues = 4 * kMaxTrackedSkills + 3;
    bool bodyRepeated_ = false;
    FailedPrefixes failed_[kSlotCount];
    // What each group of the levels between the body and the leaves but a doubling piece brings,
    // by its place: the siblings ask for it one after another, and working it out from the key
    // took about a third of the test.
    struct OwnGain {
        int points[kMaxTrackedSkills];
        int with[kMaxTrackedSkills];
        int slots;
    };
    std::vector<OwnGain> ownGains_[kSlotCount];
    // What the groups above a level leave each table of the frontier right under it short of,
    // for the keys above last asked about: the level's groups are asked about in turn, and each
    // only takes off what it brings itself. A doubling group brings the body chosen above, so
    // what it brings is worked out with them.
    struct ParentShortfalls {
        GroupKey keys[kSlotCount] = {};
        bool known = false;
        bool unbounded = false;
        int points[kMostDoublings + 1][kMaxTrackedSkills] = {};
        int with[kMostDoublings + 1][kMaxTrackedSkills] = {};
        int slots[kMostDoublings + 1] = {};
        OwnGain doubling = {};
    };
    ParentShortfalls parents_[kSlotCount];
    // Asked for every sibling: the keys are compared in line, and only a new parent is worked out.
    const ParentShortfalls& ParentAt(int level, const GroupKey* keys) {
        const ParentShortfalls& parent = parents_[level];
        bool same = parent.known;
        for (int slot = 0; slot < level && same; ++slot) {
            same = keys[slot] == parent.keys[slot];
        }
        return same ? parent : NewParent(level, keys);
    }
    const ParentShortfalls& NewParent(int level, const GroupKey* keys);
};

// What a group other than a doubling piece brings, skill by skill, handed to `take`, and its
// slots.
template <typename Take> int SubtreeBound::EachOwnGain(GroupKey key, Take take) const {
    const int slots = KeySlots(key);
    for (int k = 0; k < count_; ++k) {
        const int gain = skills_[k].Gain(KeyPoints(key, k));
        take(k, gain, gain + fitter_.BestGain(k, slots));
    }
    return slots;
}
