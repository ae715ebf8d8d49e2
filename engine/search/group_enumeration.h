#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/candidates.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/exact/exact_judge.h"
#include "engine/fitting/search_hit.h"
#include "engine/search/skill_search.h"
#include "engine/search/subtree_bound.h"

// Phase 1 of a search: five nested loops over the candidate groups, head outermost, with the
// equivalence skips and the defence test, judging every combination that survives by the rule
// based fitting or, in the exact mode, by the exact one. Counts into the engine's counters and
// stops at its limits or its abort flag.
//
// A subtree the bound proves empty is not judged: it is walked again without judging, so that
// the counters, the message pumps and the skip state come out as if it had been.
class GroupEnumeration {
public:
    GroupEnumeration(CSkillSearch& search, const CSearchCondition& condition,
                     const GroupList (&groups)[kSlotCount], DecorationFitter& fitter,
                     SearchHits& hits);

    void UseExactJudge(ExactJudge* judge) { exact_ = judge; }
    void UseBound(SubtreeBound* bound) { bound_ = bound; }
    void Run();

private:
    // Each returns false once phase 1 has to end.
    template <int Level> bool Descend();
    bool SkipsAfter(const CandidateGroup& group, const CandidateGroup* lastFailed) const;
    bool Leaves();
    bool Judge(const CandidateGroup& leaf, SearchHit& hit, std::uint64_t& sets);
    bool RecordHit(SearchHit&& hit, std::uint64_t sets);
    template <int Level> bool WalkWithoutHits();
    bool WalkLeavesWithoutHits();

    CSkillSearch& search_;
    const GroupList (&groups_)[kSlotCount];
    DecorationFitter& fitter_;
    ExactJudge* exact_ = nullptr;
    SubtreeBound* bound_ = nullptr;
    SearchHits& hits_;
    const std::int64_t minDefense_;
    const std::uint32_t maxDisplay_;
    const std::uint32_t maxCalc_;

    std::uint64_t below_[kSlotCount] = {}; // combinations under one group of each level
    // Best defence of the groups chosen above a level; 64-bit, as five table values may not add
    // up within an int.
    std::int64_t defense_[kSlotCount + 1] = {};
    std::uint64_t sets_[kSlotCount + 1] = {}; // armour sets the groups above a level stand for
    bool lowDefenseSeen_ = false;
    // Whether some combination falls below the minimum defence at all; when none can and no host
    // pumps messages, an empty subtree is only counted.
    bool lowDefensePossible_ = false;
    const CandidateGroup* chosen_[kSlotCount] = {};
    FitRequest request_;
};
