#include "engine/search/skill_search.h"

#include "engine/condition/candidates.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/exact/exact_judge.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/search/group_enumeration.h"
#include "engine/search/hit_expansion.h"
#include "engine/search/rank_bound.h"
#include "engine/search/ranked_sets.h"
#include "engine/search/subtree_bound.h"
#include "engine/tables/saturating.h"

#include <optional>

namespace {
constexpr char kTableFailed[] = "スキル/装飾品テーブルの作成に失敗しました";
constexpr char kListFailed[] = "装備リストの作成に失敗しました";
} // namespace

CSkillSearch::~CSkillSearch() = default;

// Whether the condition has more than `count` sets, asked when a ranked list is full and the
// ranking passed over parts that may or may not hold sets: the list is cut only if they do. The
// found-order search stops at the first set past `count`. Results, counters and the stop reason
// stay as they were.
bool CSkillSearch::FindsMoreSetsThan(const CSearchCondition& condition, std::uint32_t count) {
    CSearchCondition unranked = condition;
    unranked.rankKey = RankKey::kNone;
    unranked.maxDisplay = count + 1;
    std::vector<std::unique_ptr<CEquipSet>> kept = std::move(results);
    const std::uint64_t keptVisited = visited;
    const std::uint32_t keptHits = hitCount;
    const std::uint64_t keptSets = setCount;
    // The host comes back even when this search runs out of memory: without it, the searches
    // after that would run unseen and could not be aborted.
    struct OwnerBack {
        CSkillSearch& search;
        SearchHost* owner;
        ~OwnerBack() { search.owner = owner; }
    } ownerBack{*this, owner};
    owner = nullptr;
    Search(unranked);
    const bool more = results.size() > count;
    results = std::move(kept);
    visited = keptVisited;
    hitCount = keptHits;
    setCount = keptSets;
    stopReason = SearchStop::kCompleted;
    running = 1;
    return more;
}

void CSkillSearch::Search(const CSearchCondition& condition) {
    abortRequested = 0;
    stopReason = SearchStop::kCompleted;
    results.clear();
    SkillTable table;
    if (!BuildSkillTable(condition, database, table)) {
        if (sink != nullptr) {
            sink->Show(kTableFailed);
        }
        return;
    }
    CandidateList candidates[kSlotCount];
    if (!BuildCandidates(condition, database, table, candidates)) {
        if (sink != nullptr) {
            sink->Show(kListFailed);
        }
        return;
    }
    running = 1;
    GroupList groups[kSlotCount];
    GroupCandidates(candidates, table, groups);
    totalCombos = 1;
    for (const GroupList& slotGroups : groups) {
        totalCombos = SaturatingMul(totalCombos, slotGroups.size());
    }
    visited = 0;
    hitCount = 0;
    setCount = 0;

    SearchHits hits;
    DecorationFitter fitter(table, condition);
    const std::vector<TrackedSkill> skills = TrackedSkillsOf(table);
    ExactFitter exactFitter(skills.data(), static_cast<int>(skills.size()),
                            ExactDecorations(condition, database, skills));
    SubtreeBound bound(condition, skills, candidates, groups, exactFitter);
    std::optional<ExactJudge> exactJudge;
    GroupEnumeration enumeration(*this, condition, groups, fitter, hits);
    enumeration.UseBound(&bound);
    if (condition.exactFitting) {
        exactJudge.emplace(condition, table, candidates, groups, exactFitter);
        enumeration.UseExactJudge(&*exactJudge);
    }
    HitExpansion expansion(*this, condition, candidates);
    if (exactJudge) {
        expansion.UseExactJudge(&*exactJudge);
    }
    const bool ranks = condition.rankKey != RankKey::kNone;
    RankedSets ranked(condition.maxDisplay);
    std::optional<RankBound> rankBound;
    if (ranks) {
        rankBound.emplace(condition, candidates, groups);
        expansion.UseRanking(&ranked);
        enumeration.UseRanking(&ranked, &expansion, &*rankBound);
    }
    enumeration.Run();
    // A limit reached at the last combination left nothing unexamined: whether the list is cut
    // is then for the expansion to tell. A ranked search has expanded its hits already.
    if (!ranks && stopReason != SearchStop::kAborted && visited >= totalCombos) {
        stopReason = SearchStop::kCompleted;
    }
    if (owner != nullptr) {
        owner->Post(SearchHost::kPhaseOneDone, visited, totalCombos);
    }

    // An abort ends the enumeration, but the hits found so far are still listed; only an abort
    // requested while they are expanded stops the expansion.
    const std::int32_t abortedEarly = abortRequested;
    abortRequested = 0;
    while (!hits.empty()) {
        const bool more = expansion.Expand(hits.front());
        hits.pop_front();
        if (!more) {
            break;
        }
    }
    if (ranks) {
        results = ranked.TakeRanked();
        if (ranked.Cut() || (ranked.MaybeCut() && stopReason == SearchStop::kCompleted &&
                             FindsMoreSetsThan(condition, condition.maxDisplay))) {
            NoteStop(SearchStop::kDisplayLimit);
        }
    }
    abortRequested = abortRequested != 0 || abortedEarly != 0 ? 1 : 0;
    // Cleared before the message so that a host handling it at once sees the search finished.
    running = 0;
    if (owner != nullptr) {
        owner->Post(SearchHost::kSearchFinished, visited, totalCombos);
    }
}
