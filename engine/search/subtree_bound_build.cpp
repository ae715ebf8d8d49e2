#include "engine/search/subtree_bound.h"

#include <algorithm>
#include <numeric>

#include "engine/exact/exact_combination.h"

namespace {

int MostDoublingSlots(const CandidateList& candidates) {
    int most = 0;
    for (const CEquipData* piece : candidates) {
        if (piece->bodyDoubling) {
            most = std::max(most, std::clamp(piece->slots, 0, 3));
        }
    }
    return most;
}

} // namespace

// Building the bound: the best of each level, the frontier tables of the last levels, the groups
// right above them and the table of the leaves, once per search.
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
        if (condition.exactFitting != 0) {
            level.doublingSlots = MostDoublingSlots(candidates[slot]);
        }
        // The levels the sibling test asks about, under the body and above the leaves, keep what
        // each group brings, worked out here for the level's bests anyway.
        const bool keeps = slot > kBody && slot < kSlotCount - 1;
        if (keeps) {
            ownGains_[slot].resize(groups[slot].size());
        }
        for (std::size_t n = 0; n < groups[slot].size(); ++n) {
            const CandidateGroup& group = groups[slot][n];
            level.mostDefense = std::max<std::int64_t>(level.mostDefense, group.bestDefense);
            if (group.key == kDoublingKey) {
                level.hasDoubling = true;
                continue;
            }
            OwnGain unkept;
            OwnGain& own = keeps ? ownGains_[slot][n] : unkept;
            own.slots = KeySlots(group.key);
            level.mostSlots = std::max(level.mostSlots, own.slots);
            for (int k = 0; k < count_; ++k) {
                own.points[k] = skills[k].Gain(KeyPoints(group.key, k));
                own.with[k] = own.points[k] + fitter.BestGain(k, own.slots);
                level.mostPoints[k] = std::max(level.mostPoints[k], own.points[k]);
                level.mostWithDecos[k] = std::max(level.mostWithDecos[k], own.with[k]);
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
