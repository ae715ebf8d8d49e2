#include "engine/support/plain_search.h"

#include "engine/condition/candidates.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/search/group_enumeration.h"
#include "engine/search/hit_expansion.h"
#include "engine/search/run_start.h"
#include "engine/tables/saturating.h"

void RunPlainSearch(const CEquipDatabase& database, const CSearchCondition& condition,
                    SearchProgress& progress, SearchOutcome& outcome) {
    SkillTable table;
    if (!StartRun(condition, database, progress, outcome, nullptr, table)) {
        return;
    }
    outcome.results.clear();
    CandidateList candidates[kSlotCount];
    if (!BuildCandidates(condition, database, table, candidates)) {
        return;
    }
    GroupList groups[kSlotCount];
    GroupCandidates(candidates, table, groups);
    progress.totalCombos = 1;
    for (const GroupList& slotGroups : groups) {
        progress.totalCombos = SaturatingMul(progress.totalCombos, slotGroups.size());
    }
    SearchHits hits;
    DecorationFitter fitter(table, condition);
    GroupEnumeration enumeration(progress, outcome, condition, groups, fitter, hits);
    enumeration.Run();
    if (outcome.stopReason != SearchStop::kAborted && progress.visited >= progress.totalCombos) {
        outcome.stopReason = SearchStop::kCompleted;
    }
    HitExpansion expansion(progress, outcome, condition, candidates);
    while (!hits.empty() && expansion.Expand(hits.front())) {
        hits.pop_front();
    }
}
