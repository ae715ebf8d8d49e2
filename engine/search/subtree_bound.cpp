#include "engine/search/subtree_bound.h"

#include <algorithm>
#include <numeric>

#include "engine/condition/group_key.h"
#include "engine/exact/exact_combination.h"
#include "engine/fitting/slot_check.h"

SubtreeBound::SubtreeBound(const CSearchCondition& condition,
                           const std::vector<TrackedSkill>& skills,
                           const CandidateList (&candidates)[kSlotCount],
                           const GroupList (&groups)[kSlotCount], const ExactFitter& fitter)
    : fitter_(fitter), count_(static_cast<int>(skills.size())),
      weaponSlots_(std::clamp(condition.weaponSlots, 0, 3)), minDefense_(condition.minDefense) {
    for (int k = 0; k < count_; ++k) {
        goal_[k] = skills[k].direction * skills[k].bound;
        if (condition.exactFitting == 0 && skills[k].direction > 0) {
            slotChecked_ |= std::uint32_t{1} << k;
        }
    }
    enabled_ = FixedDecorationGains(condition, skills, fixedGain_);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        Level& level = levels_[slot];
        std::fill(level.mostPoints, level.mostPoints + kMaxTrackedSkills, kNone);
        std::fill(level.mostWithDecos, level.mostWithDecos + kMaxTrackedSkills, kNone);
        // The rule-based fitting gives a doubling piece no slots of its own.
        for (const CEquipData* piece : candidates[slot]) {
            if (piece->bodyDoubling && condition.exactFitting != 0) {
                level.doublingSlots = std::max(level.doublingSlots, std::clamp(piece->slots, 0, 3));
            }
        }
        for (const CandidateGroup& group : groups[slot]) {
            level.mostDefense = std::max<std::int64_t>(level.mostDefense, group.bestDefense);
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
    PrepareFailedPrefixes();
    BuildFrontiers(groups);
    if (firstFrontier_ < kSlotCount) {
        KeepGroupsBetween(groups[firstFrontier_ - 1]);
    }
    BuildLeafTable(groups[kSlotCount - 1]);
}

// The body counts only where a doubling piece below may repeat it.
void SubtreeBound::PrepareFailedPrefixes() {
    for (int slot = kBody + 1; slot < kSlotCount; ++slot) {
        bodyRepeated_ = bodyRepeated_ || levels_[slot].hasDoubling;
    }
    const int width = (bodyRepeated_ ? 4 : 2) * count_ + (bodyRepeated_ ? 3 : 2);
    // A prefix of head and body is weighed with every arm group that no other beats, the dearest
    // test of all, so the last few dozen ruled out are worth looking through before it: on
    // large tables most pairs bring no more than one of those in anything. With most arm groups
    // ruled out by the tables' summed shortfall at a look-up, a longer look through costs more
    // than the tests it spares. One of a level below costs a pass over a table or two, about
    // what the look-ups and their mispredicted branches would. The head's and the leaf's are not
    // weighed by their kept sums.
    constexpr int kKept[kSlotCount] = {0, 64, 0, 0, 0};
    for (int slot = 0; slot < kSlotCount; ++slot) {
        failed_[slot].Reset(width, kKept[slot]);
    }
}

// Strongest first, as in every table: a prefix weighs only the leaves strong enough for the
// minimum defence, which are few where the prefix is weak.
void SubtreeBound::BuildLeafTable(const GroupList& leaves) {
    std::vector<std::uint32_t> order;
    for (std::uint32_t n = 0; n < leaves.size(); ++n) {
        if (leaves[n].key != kDoublingKey) {
            order.push_back(n);
        }
    }
    std::stable_sort(order.begin(), order.end(), [&leaves](std::uint32_t a, std::uint32_t b) {
        return leaves[a].bestDefense > leaves[b].bestDefense;
    });
    leafPosition_.assign(leaves.size(), -1);
    std::vector<FrontierTable::Choice> choices;
    for (const std::uint32_t n : order) {
        leafPosition_[n] = static_cast<int>(choices.size());
        const Contribution contribution = ContributionOf(leaves[n]);
        FrontierTable::Choice& choice = choices.emplace_back();
        std::copy_n(contribution.points, count_, choice.points);
        std::copy_n(contribution.with, count_, choice.with);
        choice.slots = contribution.slots;
        choice.defense = contribution.defense;
    }
    leafTable_.Build(choices, fitter_, SlotCap(), slotChecked_);
}

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

SubtreeBound::Contribution SubtreeBound::ContributionOf(const CandidateGroup& group) const {
    Contribution contribution;
    contribution.defense = group.bestDefense;
    contribution.slots = EachOwnGain(group.key, [&contribution](int k, int points, int with) {
        contribution.points[k] = points;
        contribution.with[k] = with;
    });
    return contribution;
}

// The doubling group of a level without the body it repeats: its own slots at most.
SubtreeBound::Contribution SubtreeBound::DoublingContribution(int level,
                                                              const CandidateGroup& group) const {
    Contribution contribution;
    contribution.doublings = 1;
    contribution.slots = levels_[level].doublingSlots;
    contribution.defense = group.bestDefense;
    for (int k = 0; k < count_; ++k) {
        contribution.with[k] = fitter_.BestGain(k, contribution.slots);
    }
    return contribution;
}

// Defence is weighed only where a minimum asks for it: elsewhere it would only keep more choices.
// The body that doubling pieces repeat may bring minus points, so only choices with as many of
// them compare.
bool SubtreeBound::Dominates(const Contribution& a, const Contribution& b) const {
    if (a.doublings != b.doublings || a.slots < b.slots ||
        (minDefense_ > 0 && a.defense < b.defense)) {
        return false;
    }
    for (int k = 0; k < count_; ++k) {
        if (a.points[k] < b.points[k] || a.with[k] < b.with[k]) {
            return false;
        }
    }
    return true;
}

// A choice can only be beaten by one that brings as much in all: taken by what they bring in
// all, each choice is compared with those kept before it. False when more than the limit stay.
bool SubtreeBound::KeepUndominated(Frontier& frontier) const {
    const auto total = [this](const Contribution& c) {
        int sum = c.slots;
        for (int k = 0; k < count_; ++k) {
            sum += c.points[k] + c.with[k];
        }
        return sum;
    };
    std::stable_sort(
        frontier.begin(), frontier.end(),
        [&total](const Contribution& a, const Contribution& b) { return total(a) > total(b); });
    Frontier kept;
    for (const Contribution& choice : frontier) {
        const bool beaten = std::any_of(kept.begin(), kept.end(), [&](const Contribution& other) {
            return Dominates(other, choice);
        });
        if (beaten) {
            continue;
        }
        if (kept.size() == kFrontierLimit) {
            return false;
        }
        kept.push_back(choice);
    }
    frontier = std::move(kept);
    return true;
}

// From the last level up, each frontier adds one level's groups to the one below it, as long as
// it stays small, for the last two levels: a third would weed out its dominated choices at a
// cost of milliseconds, more than its tests of the few prefixes above it save. A doubling piece
// brings the body's points and slots, which the body chosen above decides: a choice counts its
// doubling pieces, and the body is added that many times when the frontier is tested.
void SubtreeBound::BuildFrontiers(const GroupList (&groups)[kSlotCount]) {
    if (!enabled_) {
        return;
    }
    Frontier below(1);
    for (int level = kSlotCount - 1; level >= kFirstFrontierLevel; --level) {
        if (groups[level].empty()) {
            return;
        }
        const std::int64_t leastFromHere = LeastDefenseFrom(level);
        // Empty where no choice below is strong enough: then none with this level's groups is.
        std::int64_t strongestBelow = 0;
        for (const Contribution& rest : below) {
            strongestBelow = std::max(strongestBelow, rest.defense);
        }
        Frontier own;
        for (const CandidateGroup& group : groups[level]) {
            if (group.bestDefense + strongestBelow >= leastFromHere) {
                own.push_back(group.key == kDoublingKey ? DoublingContribution(level, group)
                                                        : ContributionOf(group));
            }
        }
        if (!KeepUndominated(own) || own.size() * below.size() > kJoinLimit) {
            return;
        }
        Frontier joined;
        joined.reserve(own.size() * below.size());
        for (const Contribution& mine : own) {
            for (const Contribution& rest : below) {
                if (mine.defense + rest.defense < leastFromHere) {
                    continue;
                }
                Contribution both = rest;
                both.slots += mine.slots;
                both.defense += mine.defense;
                both.doublings += mine.doublings;
                for (int k = 0; k < count_; ++k) {
                    both.points[k] += mine.points[k];
                    both.with[k] += mine.with[k];
                }
                joined.push_back(both);
            }
        }
        if (!KeepUndominated(joined)) {
            return;
        }
        KeepFrontier(level, joined);
        below = std::move(joined);
        firstFrontier_ = level;
    }
}

// The least defence a choice for the levels from `level` on needs for the strongest groups above
// to bring it up to the minimum. A weaker one is never weighed, as the tables weigh only choices
// strong enough for the prefix: left out before the frontier is weeded, it spares the
// comparisons and rows it would cost, and what it alone beats is as weak and goes too.
std::int64_t SubtreeBound::LeastDefenseFrom(int level) const {
    std::int64_t above = 0;
    for (int slot = 0; slot < level; ++slot) {
        above += levels_[slot].mostDefense;
    }
    return minDefense_ - above;
}

// The choices go into one table per count of doubling pieces: those with the same count take the
// body the same number of times, which shifts every shortfall of a prefix alike.
void SubtreeBound::KeepFrontier(int level, const Frontier& frontier) {
    // Sorted by place, not moved about: a wide frontier holds thousands of choices.
    std::vector<std::uint32_t> order(frontier.size());
    std::iota(order.begin(), order.end(), 0U);
    std::stable_sort(order.begin(), order.end(), [&frontier](std::uint32_t a, std::uint32_t b) {
        return frontier[a].defense > frontier[b].defense;
    });
    std::vector<FrontierTable::Choice> byDoublings[kMostDoublings + 1];
    for (const std::uint32_t place : order) {
        const Contribution& choice = frontier[place];
        FrontierTable::Choice& kept = byDoublings[choice.doublings].emplace_back();
        std::copy_n(choice.points, count_, kept.points);
        std::copy_n(choice.with, count_, kept.with);
        kept.slots = choice.slots;
        kept.defense = choice.defense;
    }
    for (int doublings = 0; doublings <= kMostDoublings; ++doublings) {
        tables_[level][doublings].Build(byDoublings[doublings], fitter_, SlotCap(), slotChecked_);
    }
}

// The most slots a combination can hold: the weapon's and the most of each level, a doubling
// piece bringing the body's once more.
int SubtreeBound::SlotCap() const {
    int cap = weaponSlots_;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const Level& level = levels_[slot];
        cap += std::max(level.mostSlots,
                        level.hasDoubling ? levels_[kBody].mostSlots + level.doublingSlots : 0);
    }
    return cap;
}

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

bool SubtreeBound::MayHit(int level, const GroupKey* keys, std::int64_t defenseAbove) {
    if (!enabled_) {
        return true;
    }
    const int frontierLevel = std::max(level + 1, firstFrontier_);
    if (level > kBody && frontierLevel == level + 1 && !failed_[level].Keeps()) {
        return SiblingMayHit(level, keys, defenseAbove);
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
bool SubtreeBound::SiblingMayHit(int level, const GroupKey* keys, std::int64_t defenseAbove) {
    const ParentShortfalls& parent = ParentAt(level, keys);
    if (parent.unbounded) {
        return true;
    }
    int points[kMaxTrackedSkills];
    int with[kMaxTrackedSkills];
    const int slots =
        EachGain(level, keys[level], parent.bodyPoints, parent.bodyWith, parent.bodySlots,
                 [&points, &with](int k, int ownPoints, int ownWith) {
                     points[k] = ownPoints;
                     with[k] = ownWith;
                 });
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
    std::copy_n(above.bodyPoints, count_, parent.bodyPoints);
    std::copy_n(above.bodyWith, count_, parent.bodyWith);
    parent.bodySlots = above.bodySlots;
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

// The groups of the level right above the frontier that no other of the level beats in points,
// slots and defence, strongest first; the doubling group, which brings the body chosen above,
// always. Empty where no frontier was built.
void SubtreeBound::KeepGroupsBetween(const GroupList& groups) {
    if (firstFrontier_ >= kSlotCount || firstFrontier_ - 1 <= kBody) {
        return;
    }
    const int level = firstFrontier_ - 1;
    std::vector<Contribution> own;
    own.reserve(groups.size());
    for (const CandidateGroup& group : groups) {
        own.push_back(ContributionOf(group));
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
        bool beaten = false;
        for (std::size_t other = 0; other < groups.size() && !beaten; ++other) {
            beaten = groups[g].key != kDoublingKey && groups[other].key != kDoublingKey &&
                     Beats(own[other], own[g]);
        }
        if (!beaten) {
            betweenGroups_.push_back({&groups[g], own[g]});
        }
    }
    std::stable_sort(betweenGroups_.begin(), betweenGroups_.end(),
                     [](const Between& a, const Between& b) {
                         return a.group->bestDefense > b.group->bestDefense;
                     });
    strongestFrom_[kSlotCount] = 0;
    for (int slot = kSlotCount - 1; slot > level; --slot) {
        strongestFrom_[slot] = strongestFrom_[slot + 1] + levels_[slot].mostDefense;
    }
}

// At least as much in every skill, in slots and in defence, and more in something: equal groups
// both stay.
bool SubtreeBound::Beats(const Contribution& a, const Contribution& b) const {
    if (a.slots < b.slots || a.defense < b.defense) {
        return false;
    }
    bool more = a.slots > b.slots || a.defense > b.defense;
    for (int k = 0; k < count_; ++k) {
        if (a.points[k] < b.points[k] || a.with[k] < b.with[k]) {
            return false;
        }
        more = more || a.points[k] > b.points[k] || a.with[k] > b.with[k];
    }
    return more;
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
