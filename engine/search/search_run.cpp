#include "engine/search/search_run.h"

#include "engine/condition/candidates.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/exact/exact_judge.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/search/group_enumeration.h"
#include "engine/search/hit_expansion.h"
#include "engine/search/kept_set_decorations.h"
#include "engine/search/rank_bound.h"
#include "engine/search/rank_hit_gate.h"
#include "engine/search/ranked_sets.h"
#include "engine/search/run_start.h"
#include "engine/search/subtree_bound.h"
#include "engine/tables/saturating.h"

#include <limits>
#include <memory>
#include <optional>

namespace {
constexpr char kListFailed[] = "装備リストの作成に失敗しました";

// Serves a search run inside another one: pumps that search's host, keeps the inner search's
// messages from it (they are not the ones it waits for) and passes on an abort asked of that
// search, so that the player can stop the inner one as any other part of the search.
class NestedHost final : public SearchHost {
public:
    NestedHost(const SearchProgress& outer, SearchProgress& inner) : outer_(outer), inner_(inner) {}
    void Post(unsigned, std::uint64_t, std::uint64_t) override {}
    void PumpMessages() override {
        outer_.Pump();
        if (outer_.AbortRequested()) {
            inner_.abortRequested = 1;
        }
    }

private:
    const SearchProgress& outer_;
    SearchProgress& inner_;
};

enum class MoreSets { kNone, kSome, kAborted };

// Whether the condition has more than `count` sets, asked when a ranked list is full and the
// ranking passed over parts that may or may not hold sets: the list is cut only if they do. To
// know it the ranking would have to judge every part it passes over, which is what passing over
// saves. The found-order search counts into objects of its own, so that no counter of the ranked
// search changes, and stops when that one is aborted. It stops at its limit of hits, and a hit of
// the complete fitting may stand for fewer sets than one (none, where the pieces of the doubling
// profiles it is met for fall short of the minimum defence): while it lists no more than `count`
// sets and stopped at that limit, it is run again with room for twice the hits.
MoreSets FindsMoreSetsThan(const CEquipDatabase& database, const CSearchCondition& condition,
                           std::uint32_t count, const SearchProgress& outer) {
    constexpr std::uint32_t kMostHits = std::numeric_limits<std::uint32_t>::max();
    CSearchCondition unranked = condition;
    unranked.rankKey = RankKey::kNone;
    for (std::uint32_t hits = count + 1;; hits = hits > kMostHits / 2 ? kMostHits : 2 * hits) {
        if (outer.AbortRequested()) {
            return MoreSets::kAborted;
        }
        unranked.maxDisplay = hits;
        SearchProgress progress;
        NestedHost host(outer, progress);
        progress.owner = &host;
        SearchOutcome outcome;
        RunSearch(database, unranked, progress, outcome, nullptr);
        if (outcome.stopReason == SearchStop::kAborted) {
            return MoreSets::kAborted;
        }
        if (outcome.results.size() > count) {
            return MoreSets::kSome;
        }
        if (outcome.stopReason != SearchStop::kDisplayLimit || hits == kMostHits) {
            return MoreSets::kNone;
        }
    }
}

// Why a ranked search ended, once its list is known: cut by the display limit where a valid set
// was left out of a full list.
void NoteRankedStop(const CEquipDatabase& database, const CSearchCondition& condition,
                    const RankedSets& ranked, const SearchProgress& progress,
                    SearchOutcome& outcome) {
    if (ranked.Cut()) {
        outcome.NoteStop(SearchStop::kDisplayLimit);
        return;
    }
    if (!ranked.MaybeCut() || outcome.stopReason != SearchStop::kCompleted) {
        return;
    }
    switch (FindsMoreSetsThan(database, condition, condition.maxDisplay, progress)) {
    case MoreSets::kSome:
        outcome.NoteStop(SearchStop::kDisplayLimit);
        break;
    case MoreSets::kAborted:
        outcome.NoteStop(SearchStop::kAborted);
        break;
    case MoreSets::kNone:
        break;
    }
}

} // namespace

void RunSearch(const CEquipDatabase& database, const CSearchCondition& condition,
               SearchProgress& progress, SearchOutcome& outcome, platform::MessageSink* sink) {
    // Refused before anything changes: the results of the last search stay.
    SkillTable table;
    if (!StartRun(condition, database, progress, outcome, sink, table)) {
        return;
    }
    outcome.results.clear();
    CandidateList candidates[kSlotCount];
    if (!BuildCandidates(condition, database, table, candidates)) {
        platform::Tell(sink, kListFailed);
        return;
    }
    progress.running = 1;
    GroupList groups[kSlotCount];
    GroupCandidates(candidates, table, groups);
    progress.totalCombos = 1;
    for (const GroupList& slotGroups : groups) {
        progress.totalCombos = SaturatingMul(progress.totalCombos, slotGroups.size());
    }
    progress.visited = 0;
    progress.pruned = 0;
    outcome.hitCount = 0;
    outcome.setCount = 0;

    SearchHits hits;
    DecorationFitter fitter(table, condition);
    const std::vector<TrackedSkill> skills = TrackedSkillsOf(table);
    ExactFitter exactFitter(skills.data(), static_cast<int>(skills.size()),
                            ExactDecorations(condition, database, skills));
    SubtreeBound bound(condition, skills, candidates, groups, exactFitter);
    // On the heap: the judge keeps sizeable tables that a rule-based search would only clear.
    std::unique_ptr<ExactJudge> exactJudge;
    GroupEnumeration enumeration(progress, outcome, condition, groups, fitter, hits);
    enumeration.UseBound(&bound);
    if (condition.exactFitting) {
        exactJudge =
            std::make_unique<ExactJudge>(condition, table, candidates, groups, exactFitter);
        enumeration.UseExactJudge(exactJudge.get());
    }
    HitExpansion expansion(progress, outcome, condition, candidates);
    if (exactJudge) {
        expansion.UseExactJudge(exactJudge.get());
    }
    const bool ranks = condition.rankKey != RankKey::kNone;
    RankedSets ranked(condition.maxDisplay);
    std::optional<RankBound> rankBound;
    std::optional<RankHitGate> gate;
    if (ranks) {
        rankBound.emplace(condition, candidates, groups, skills, exactFitter);
        enumeration.UseRanking(&ranked, &expansion, &*rankBound);
        if (exactJudge) {
            gate.emplace(condition, skills, *exactJudge, ranked);
            enumeration.UseHitGate(&*gate);
        }
        expansion.UseRanking(&ranked, gate ? &*gate : nullptr);
    }
    enumeration.Run();
    // A limit reached at the last combination left nothing unexamined: whether the list is cut
    // is then for the expansion to tell. A ranked search has expanded its hits already.
    if (!ranks && outcome.stopReason != SearchStop::kAborted &&
        progress.visited >= progress.totalCombos) {
        outcome.stopReason = SearchStop::kCompleted;
    }
    progress.Post(SearchHost::kPhaseOneDone);

    // An abort ends the enumeration, but the hits found so far are still listed; only an abort
    // requested while they are expanded stops the expansion.
    const bool abortedEarly = progress.AbortRequested();
    progress.abortRequested = 0;
    while (!hits.empty()) {
        const bool more = expansion.Expand(hits.front());
        hits.pop_front();
        if (!more) {
            break;
        }
    }
    if (abortedEarly) {
        progress.abortRequested = 1;
    }
    if (ranks) {
        outcome.results = ranked.TakeRanked();
        if (DefersDecorations(condition)) {
            ArrangeKeptSets(*exactJudge, outcome.results);
        }
        NoteRankedStop(database, condition, ranked, progress, outcome);
    }
    // Cleared before the message so that a host handling it at once sees the search finished.
    progress.running = 0;
    progress.Post(SearchHost::kSearchFinished);
}
