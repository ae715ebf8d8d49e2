#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/exact/exact_judge.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/fitting/search_hit.h"
#include "engine/search/hit_expansion.h"
#include "engine/search/hitless_walk.h"
#include "engine/search/rank_bound.h"
#include "engine/search/rank_hit_gate.h"
#include "engine/search/ranked_sets.h"
#include "engine/search/search_outcome.h"
#include "engine/search/search_progress.h"
#include "engine/search/subtree_bound.h"

// Phase 1 of a search: five nested loops over the candidate groups, head outermost, with the
// equivalence skips and the defence test, judging every combination that survives by the rule
// based fitting or, in the exact mode, by the exact one. Counts into the engine's counters and
// stops at its limits or its abort flag.
//
// A subtree the bounds prove empty is not judged: it is counted, and its message pumps and the
// skip state it leaves come out as if it had been.
class GroupEnumeration {
public:
    GroupEnumeration(SearchProgress& progress, SearchOutcome& outcome,
                     const CSearchCondition& condition, const GroupList (&groups)[kSlotCount],
                     DecorationFitter& fitter, SearchHits& hits);

    void UseExactJudge(ExactJudge* judge) { exact_ = judge; }
    void UseBound(SubtreeBound* bound) { bound_ = bound; }
    // A ranked search expands each hit as it is found into `ranked`, and stops only at the
    // calculation limit or an abort. In the exact mode it also passes over every part of the
    // enumeration whose sets could not enter the list; the rule-based mode cannot, as what it
    // skips later depends on what it judged. There it visits the groups best bound first.
    void UseRanking(RankedSets* ranked, HitExpansion* expansion, const RankBound* bound);
    // Hits it shuts out are counted but not expanded: none of their sets could enter the list.
    void UseHitGate(RankHitGate* gate) { gate_ = gate; }
    void Run();

private:
    // Each returns false once phase 1 has to end. Without judging, the walk is that of a subtree
    // the bounds proved empty.
    template <int Level, bool Judging> bool Descend();
    template <int Level> bool TooWeakToEnter() const;
    bool CountTooWeak(int level);
    template <int Level> bool Enter(std::size_t index, bool& failed);
    bool SkipsAfter(const CandidateGroup& group, const CandidateGroup* lastFailed) const;
    bool Leaves();
    bool BoundRulesOut(const CandidateGroup& leaf);
    bool Judge(const CandidateGroup& leaf, SearchHit& hit, std::uint64_t& sets);
    bool RecordHit(SearchHit&& hit, std::uint64_t sets);
    bool ExpandRankedHit(const SearchHit& hit);
    template <int Level> bool RankedOut(std::size_t index);
    void NoteRankedOut(int level, const CandidateGroup& group, std::size_t index,
                       std::int64_t defense);
    bool GatedOut(const CandidateGroup& leaf);
    bool MayHitBelow(int level, std::size_t index) const;
    bool CountWithoutHits(int level);
    bool PumpWithoutHits();
    bool StopAfterPump(std::size_t pumped);
    bool EnterWithoutHits(const CandidateGroup& group, const CandidateGroup*& lastFailed,
                          bool counted);
    void NoteLowDefenseAfter(int level);

    SearchProgress& progress_;
    SearchOutcome& outcome_;
    const GroupList (&groups_)[kSlotCount];
    DecorationFitter& fitter_;
    ExactJudge* exact_ = nullptr;
    SubtreeBound* bound_ = nullptr;
    SearchHits& hits_;
    RankedSets* ranked_ = nullptr;
    HitExpansion* expansion_ = nullptr;
    const RankBound* rankBound_ = nullptr;
    RankHitGate* gate_ = nullptr;
    // Parts passed over by the ranking; they may hold hits, so they are never a failure to skip
    // after.
    std::uint64_t rankedOut_ = 0;
    std::int64_t value_[kSlotCount + 1] = {}; // the ranking key's bound of the groups above
    // The order each level's groups are visited in, as indices; empty where it is their own.
    std::vector<std::uint32_t> order_[kSlotCount];
    // The position in the groups' own order of the first combination under the groups above.
    std::uint64_t part_[kSlotCount + 1] = {};
    // The place among the level's groups of the group visited `n`th.
    template <int Level> std::size_t IndexAt(std::size_t n) const {
        return order_[Level].empty() ? n : order_[Level][n];
    }
    const std::int64_t minDefense_;
    const std::uint32_t maxDisplay_;
    const std::uint32_t maxCalc_;

    std::uint64_t below_[kSlotCount] = {}; // combinations under one group of each level
    // Best defence of the groups chosen above a level, at kSlotCount of the leaf judged; 64-bit, as
    // five table values may not add up within an int.
    std::int64_t defense_[kSlotCount + 1] = {};
    std::uint64_t sets_[kSlotCount + 1] = {}; // armour sets the groups above a level stand for
    bool lowDefenseSeen_ = false;
    HitlessWalk hitless_;
    const CandidateGroup* chosen_[kSlotCount] = {};
    FitRequest request_;
};
