#include "engine/search/group_enumeration.h"

#include <algorithm>
#include <limits>

#include "engine/condition/group_key.h"
#include "engine/search/failure_skip.h"
#include "engine/search/visiting_order.h"
#include "engine/tables/saturating.h"

namespace {
constexpr int kPumpLevel = 2; // the third loop: often enough to stay responsive, cheap enough
constexpr int kLeaf = kSlotCount - 1;
} // namespace

GroupEnumeration::GroupEnumeration(SearchProgress& progress, SearchOutcome& outcome,
                                   const CSearchCondition& condition,
                                   const GroupList (&groups)[kSlotCount], DecorationFitter& fitter,
                                   SearchHits& hits)
    : progress_(progress), outcome_(outcome), groups_(groups), fitter_(fitter), hits_(hits),
      minDefense_(condition.minDefense), maxDisplay_(condition.maxDisplay),
      maxCalc_(condition.maxCalc), hitless_(groups, condition.minDefense) {
    std::uint64_t size = 1;
    for (int level = kSlotCount - 1; level >= 0; --level) {
        below_[level] = size;
        size = SaturatingMul(size, groups[level].size());
    }
    request_.weaponSlots = condition.weaponSlots;
    sets_[0] = 1;
}

void GroupEnumeration::UseRanking(RankedSets* ranked, HitExpansion* expansion,
                                  const RankBound* bound) {
    ranked_ = ranked;
    expansion_ = expansion;
    rankBound_ = exact_ != nullptr ? bound : nullptr;
    // Past 2^64 combinations the positions would not tell the order found.
    if (rankBound_ == nullptr ||
        progress_.totalCombos == std::numeric_limits<std::uint64_t>::max()) {
        return;
    }
    for (int level = 0; level < kSlotCount; ++level) {
        order_[level] = BestRunsFirst(groups_[level], *rankBound_, level);
    }
}

void GroupEnumeration::Run() {
    Descend<0, true>();
}

// A subtree without hits is walked only where the walk shows: at and above the level that pumps
// messages, while a host listens. Below it nothing but the counters and the low-defence flag can
// tell the walk happened, so the subtree is counted whole.
template <int Level, bool Judging> bool GroupEnumeration::Descend() {
    if constexpr (!Judging && Level > kPumpLevel) {
        return CountWithoutHits(Level);
    } else if constexpr (!Judging && Level == kPumpLevel) {
        return progress_.owner == nullptr ? CountWithoutHits(Level) : PumpWithoutHits();
    } else if constexpr (Level == kLeaf) {
        return Leaves();
    } else {
        if (!Judging && progress_.owner == nullptr) {
            return CountWithoutHits(Level);
        }
        const CandidateGroup* lastFailed = nullptr;
        for (std::size_t n = 0; n < groups_[Level].size(); ++n) {
            const std::size_t index = Judging ? IndexAt<Level>(n) : n;
            const CandidateGroup& group = groups_[Level][index];
            if (Level == kPumpLevel) {
                progress_.Pump();
            }
            if (SkipsAfter(group, lastFailed)) {
                progress_.visited = SaturatingAdd(progress_.visited, below_[Level]);
                continue;
            }
            defense_[Level + 1] = defense_[Level] + group.bestDefense;
            bool failed = true;
            if constexpr (Judging) {
                if (TooWeakToEnter<Level>()) {
                    if (!CountTooWeak(Level + 1)) {
                        return false;
                    }
                } else if (!Enter<Level>(index, failed)) {
                    return false;
                }
            } else if (!Descend<Level + 1, false>()) {
                return false;
            }
            if (failed) {
                lastFailed = &group;
            }
        }
        return true;
    }
}

// Most groups of the middle levels are ruled out by the defence alone: told apart before anything
// else is done for them, they are counted whole where no pump would show their walk. A ranked
// search weighs every group in its own way first.
template <int Level> bool GroupEnumeration::TooWeakToEnter() const {
    return bound_ != nullptr && rankBound_ == nullptr &&
           (Level + 1 > kPumpLevel || progress_.owner == nullptr) &&
           defense_[Level + 1] + hitless_.StrongestFrom(Level + 1) < minDefense_;
}

// Every combination below falls short of the minimum defence, so the walk would leave the
// low-defence flag set.
bool GroupEnumeration::CountTooWeak(int level) {
    progress_.pruned = SaturatingAdd(progress_.pruned, below_[level - 1]);
    if (below_[level - 1] == 0) {
        return true;
    }
    if (progress_.AbortRequested()) {
        progress_.visited = SaturatingAdd(progress_.visited, 1);
        outcome_.NoteStop(SearchStop::kAborted);
        return false;
    }
    progress_.visited = SaturatingAdd(progress_.visited, below_[level - 1]);
    if (exact_ == nullptr) {
        lowDefenseSeen_ = true;
    }
    return true;
}

// Judges the subtree under `group`, or walks it without judging where the bounds prove it empty.
// `failed` tells it found nothing; a part the ranking passed over may hold hits, so it never has.
template <int Level> bool GroupEnumeration::Enter(std::size_t index, bool& failed) {
    const CandidateGroup& group = groups_[Level][index];
    request_.keys[Level] = group.key;
    chosen_[Level] = &group;
    if (RankedOut<Level>(index)) {
        progress_.visited = SaturatingAdd(progress_.visited, below_[Level]);
        failed = false;
        return true;
    }
    sets_[Level + 1] = SaturatingMul(sets_[Level], static_cast<std::uint64_t>(group.count));
    const std::uint32_t hitsBefore = outcome_.hitCount;
    const std::uint64_t rankedOutBefore = rankedOut_;
    const bool mayHit = MayHitBelow(Level, index);
    if (!mayHit) {
        progress_.pruned = SaturatingAdd(progress_.pruned, below_[Level]);
    }
    if (!(mayHit ? Descend<Level + 1, true>() : Descend<Level + 1, false>())) {
        return false;
    }
    failed = outcome_.hitCount == hitsBefore && rankedOut_ == rankedOutBefore;
    return true;
}

// The defence test first: it is the cheaper, and with a minimum defence it rules out most.
bool GroupEnumeration::MayHitBelow(int level, std::size_t index) const {
    if (bound_ == nullptr) {
        return true;
    }
    return defense_[level + 1] + hitless_.StrongestFrom(level + 1) >= minDefense_ &&
           bound_->MayHit(level, request_.keys, index, defense_[level + 1]);
}

// Whether the ranking passes over the group of `Level` at `index` under the groups chosen above:
// even the best of its sets could not enter the list. Only the exact mode asks. The groups above
// `Level` are in `request_` and `defense_` already; the group itself is put there only here, so
// that the leaves write nothing for searches that do not rank.
template <int Level> bool GroupEnumeration::RankedOut(std::size_t index) {
    if (rankBound_ == nullptr) {
        return false;
    }
    const CandidateGroup& group = groups_[Level][index];
    value_[Level + 1] = value_[Level] + rankBound_->GroupValue(Level, index);
    if (!order_[Level].empty()) {
        part_[Level + 1] = part_[Level] + index * below_[Level];
        ranked_->EnterPart(part_[Level + 1]);
    }
    const std::int64_t defense = defense_[Level] + group.bestDefense;
    request_.keys[Level] = group.key;
    if (rankBound_->MayEnter(*ranked_, Level, request_.keys, index, value_[Level + 1],
                             defense + rankBound_->BestDefenseBelow(Level))) {
        return false;
    }
    NoteRankedOut(Level, group, index, defense);
    return true;
}

// Apart from the test, so that the test, made for nearly every part entered, stays small. The
// list is cut only where a set could have been: the subtree bound rules most parts out. Once a
// set was left out, the list is known to be cut anyway.
void GroupEnumeration::NoteRankedOut(int level, const CandidateGroup& group, std::size_t index,
                                     std::int64_t defense) {
    ++rankedOut_;
    if (ranked_->Cut()) {
        return;
    }
    const bool mayHit = bound_ == nullptr ||
                        (level == kLeaf ? bound_->LeafMayHit(index, group.key)
                                        : bound_->MayHit(level, request_.keys, index, defense));
    if (mayHit) {
        ranked_->NoteMaybeCut();
    }
}

bool GroupEnumeration::SkipsAfter(const CandidateGroup& group,
                                  const CandidateGroup* lastFailed) const {
    return SkipsAfterFailure(group, lastFailed, exact_ != nullptr, lowDefenseSeen_);
}

bool GroupEnumeration::Leaves() {
    if (bound_ != nullptr) {
        bound_->PrepareLeaves(request_.keys, defense_[kLeaf]);
    }
    GroupKey lastFailed = kNoFailedKey;
    for (std::size_t n = 0; n < groups_[kLeaf].size(); ++n) {
        const std::size_t index = IndexAt<kLeaf>(n);
        const CandidateGroup& group = groups_[kLeaf][index];
        ++progress_.visited;
        if (progress_.AbortRequested()) {
            outcome_.NoteStop(SearchStop::kAborted);
            return false;
        }
        defense_[kSlotCount] = defense_[kLeaf] + group.bestDefense;
        if (defense_[kSlotCount] < minDefense_) {
            lowDefenseSeen_ = true;
            continue;
        }
        if (LeafSkipsAfterFailure(group.key, lastFailed, exact_ != nullptr, lowDefenseSeen_)) {
            continue;
        }
        if (RankedOut<kLeaf>(index)) {
            continue;
        }
        // Ruled out before a hit is made: most leaves are, and clearing a hit costs more than
        // the test.
        if (BoundRulesOut(group)) {
            lowDefenseSeen_ = false;
            lastFailed = group.key;
            continue;
        }
        if (GatedOut(group)) {
            continue;
        }
        SearchHit hit;
        std::uint64_t sets = 0;
        if (Judge(group, hit, sets)) {
            if (!RecordHit(std::move(hit), sets)) {
                return false;
            }
        } else {
            lowDefenseSeen_ = false;
            lastFailed = group.key;
        }
    }
    return true;
}

// A leaf whose sets could not enter a list already cut is passed over before it is judged: the
// gate's question answers the judge's too. It counts as ranked out, so that nothing is skipped
// after it as after a failure. Asked only of a leaf the subtree bound left, as one it rules out
// counts as failed.
bool GroupEnumeration::GatedOut(const CandidateGroup& leaf) {
    if (gate_ == nullptr) {
        return false;
    }
    chosen_[kLeaf] = &leaf;
    if (!gate_->ShutsOutUnjudged(chosen_, defense_[kSlotCount])) {
        return false;
    }
    ++rankedOut_;
    return true;
}

// A leaf the bound rules out counts as judged and failed.
bool GroupEnumeration::BoundRulesOut(const CandidateGroup& leaf) {
    const auto index = static_cast<std::size_t>(&leaf - groups_[kLeaf].data());
    if (bound_ == nullptr || bound_->LeafMayHit(index, leaf.key)) {
        return false;
    }
    ++progress_.pruned;
    return true;
}

bool GroupEnumeration::Judge(const CandidateGroup& leaf, SearchHit& hit, std::uint64_t& sets) {
    request_.keys[kLeaf] = leaf.key;
    std::copy_n(request_.keys, kSlotCount, hit.keys);
    if (exact_ != nullptr) {
        chosen_[kLeaf] = &leaf;
        return exact_->Judge(chosen_, hit, sets);
    }
    sets = SaturatingMul(sets_[kLeaf], static_cast<std::uint64_t>(leaf.count));
    return fitter_.FitDecorations(request_, hit.decos);
}

// The hit array grows as hits come instead of being sized for the limit up front: the default
// limit of a million hits would reserve well over a hundred megabytes for searches that find few.
bool GroupEnumeration::RecordHit(SearchHit&& hit, std::uint64_t sets) {
    if (ranked_ != nullptr) {
        ++outcome_.hitCount;
        outcome_.setCount = SaturatingAdd(outcome_.setCount, sets);
        return ExpandRankedHit(hit);
    }
    hits_.push_back(std::move(hit));
    ++outcome_.hitCount;
    outcome_.setCount = SaturatingAdd(outcome_.setCount, sets);
    if (outcome_.hitCount >= maxDisplay_ ||
        (minDefense_ == 0 && outcome_.setCount >= maxDisplay_)) {
        outcome_.NoteStop(SearchStop::kDisplayLimit);
        return false;
    }
    if (hits_.size() >= maxCalc_) {
        outcome_.NoteStop(SearchStop::kCalcLimit);
        return false;
    }
    return true;
}

// A ranked search holds no hits: each is expanded at once, in the order found, so the sets come
// in the order the unranked search would list them. The calculation limit still counts hits; at
// the last combination it leaves nothing unexamined.
bool GroupEnumeration::ExpandRankedHit(const SearchHit& hit) {
    if (!expansion_->Expand(hit)) {
        return false;
    }
    if (outcome_.hitCount >= maxCalc_ && progress_.visited < progress_.totalCombos) {
        outcome_.NoteStop(SearchStop::kCalcLimit);
        return false;
    }
    return true;
}

// The loop of the level that pumps, over a subtree without hits: a pump for each group, as the
// walk makes them, and each group's subtree counted, skipped or not. The low-defence flag the loop
// leaves is the one its walk under the groups above leaves, worked out once per defence. Only an
// abort needs to know which groups the walk skips, as it stops at the first one it counts.
bool GroupEnumeration::PumpWithoutHits() {
    // Read once: the host's pump may touch anything as far as the compiler knows.
    SearchHost& host = *progress_.owner;
    const std::size_t count = groups_[kPumpLevel].size();
    const std::uint64_t size = below_[kPumpLevel];
    for (std::size_t n = 0; n < count; ++n) {
        host.PumpMessages();
        if (size != 0 && progress_.AbortRequested()) {
            return StopAfterPump(n);
        }
        progress_.visited = SaturatingAdd(progress_.visited, size);
    }
    if (size != 0 && count != 0) {
        NoteLowDefenseAfter(kPumpLevel);
    }
    return true;
}

// The walk of the level that pumps as it goes on from the pump of group `pumped`, where an abort
// was first seen: the skips before it replayed, then every group counted, until one the walk
// would count stops it.
bool GroupEnumeration::StopAfterPump(std::size_t pumped) {
    const GroupList& groups = groups_[kPumpLevel];
    const CandidateGroup* lastFailed = nullptr;
    for (std::size_t n = 0; n < groups.size(); ++n) {
        const CandidateGroup& group = groups[n];
        if (n > pumped) {
            progress_.Pump();
        }
        if (SkipsAfter(group, lastFailed)) {
            if (n >= pumped) {
                progress_.visited = SaturatingAdd(progress_.visited, below_[kPumpLevel]);
            }
            continue;
        }
        if (!EnterWithoutHits(group, lastFailed, n < pumped)) {
            return false;
        }
    }
    return true;
}

// The walk entering a group of the level that pumps, over a subtree without hits: the group is the
// one to skip after next, and its subtree, counted here unless the loop that pumps has counted it
// already, leaves the low-defence flag as its walk would.
bool GroupEnumeration::EnterWithoutHits(const CandidateGroup& group,
                                        const CandidateGroup*& lastFailed, bool counted) {
    lastFailed = &group;
    defense_[kPumpLevel + 1] = defense_[kPumpLevel] + group.bestDefense;
    if (!counted) {
        return CountWithoutHits(kPumpLevel + 1);
    }
    NoteLowDefenseAfter(kPumpLevel + 1);
    return true;
}

// No pump comes inside, so an abort, if any, is already requested: the walk would stop at its
// first leaf.
bool GroupEnumeration::CountWithoutHits(int level) {
    const std::uint64_t size = SaturatingMul(below_[level], groups_[level].size());
    if (size == 0) {
        return true;
    }
    if (progress_.AbortRequested()) {
        progress_.visited = SaturatingAdd(progress_.visited, 1);
        outcome_.NoteStop(SearchStop::kAborted);
        return false;
    }
    progress_.visited = SaturatingAdd(progress_.visited, size);
    NoteLowDefenseAfter(level);
    return true;
}

// The low-defence flag the walk of a subtree without hits at `level` leaves, under the groups
// above it. Only the rule-based skips read it.
void GroupEnumeration::NoteLowDefenseAfter(int level) {
    if (exact_ == nullptr) {
        lowDefenseSeen_ = hitless_.LowDefenseAfter(level, defense_[level]);
    }
}
