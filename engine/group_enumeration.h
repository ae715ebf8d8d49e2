#pragma once

#include <cstdint>
#include <vector>

#include "engine/candidates.h"
#include "engine/decoration_fitting.h"
#include "engine/search_hit.h"
#include "engine/skill_search.h"

// Phase 1 of a search: five nested loops over the candidate groups, head outermost, with the
// equivalence skips and the defence test, fitting decorations for every combination that
// survives. Counts into the engine's counters and stops at its limits or its abort flag.
class GroupEnumeration {
public:
    GroupEnumeration(CSkillSearch& search, const CSearchCondition& condition,
                     const GroupList (&groups)[kSlotCount], DecorationFitter& fitter,
                     SearchHits& hits);

    void Run();

private:
    // Each returns false once phase 1 has to end.
    template <int Level> bool Descend();
    bool Leaves();
    bool RecordHit(const DecoBlock& decos, std::uint64_t sets);

    CSkillSearch& search_;
    const GroupList (&groups_)[kSlotCount];
    DecorationFitter& fitter_;
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
    FitRequest request_;
};
