#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "engine/condition/chosen_skill_table.h"
#include "engine/condition/group_key.h"
#include "engine/exact/exact_combination.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/search/rank_value.h"
#include "engine/search/ranked_sets.h"
#include "engine/search/run_start.h"
#include "engine/search/search_run.h"
#include "engine/sets/skill_summary.h"

namespace {

// The keys of a set as it stands: points and free slots include the decorations it carries.
// Whatever a key cannot hold goes to the request's extra points, counted as the set's skill
// summary counts it: the weapon's decorations, a doubling piece's own decorations, and points
// beyond the range of a key field (the body's once more per doubling piece).
void DescribeSet(const CEquipSet& set, const SkillTable& table, FitRequest& request) {
    int doubling = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        doubling += set.pieces[slot] != nullptr && set.pieces[slot]->bodyDoubling ? 1 : 0;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        int points[kMaxChosenSkills] = {};
        for (int k = 0; k < table.count; ++k) {
            const int id = table.chosenIds[k];
            const int decoPoints = set.DecoPoints(slot, id);
            if (piece != nullptr && piece->bodyDoubling) {
                request.extraPoints[k] += decoPoints;
                continue;
            }
            const int sum = (piece != nullptr ? piece->PointsFor(id) : 0) + decoPoints;
            points[k] = std::clamp(sum, kKeyPointsMin, kKeyPointsMax);
            request.extraPoints[k] += (sum - points[k]) * (slot == kBody ? 1 + doubling : 1);
        }
        if (piece != nullptr && piece->bodyDoubling) {
            request.keys[slot] = kDoublingKey;
        } else {
            const int free = piece != nullptr ? std::max(set.FreeSlots(slot), 0) : 0;
            request.keys[slot] = PackKey(points, table.count, free);
        }
    }
    for (int k = 0; k < table.count; ++k) {
        request.extraPoints[k] += set.DecoPoints(kWeaponPosition, table.chosenIds[k]);
    }
}

void AddDecorations(CEquipSet& set, const DecoBlock& block) {
    for (int position = 0; position < kPositionCount; ++position) {
        for (CDecoData* deco : block.decos[position]) {
            if (deco != nullptr) {
                set.AddDeco(position, deco);
            }
        }
    }
}

// A set passes when the chosen skills can be met in its free slots; the decorations found are
// added to it.
bool Refine(CEquipSet& set, const SkillTable& table, DecorationFitter& fitter) {
    FitRequest request;
    request.weaponSlots = set.FreeSlots(kWeaponPosition);
    // A set whose weapon decorations no longer fit the weapon cannot be listed.
    if (request.weaponSlots < 0) {
        return false;
    }
    if (table.count == 0) {
        return true;
    }
    request.skipSlotCheck = true;
    // Earlier results already carry the fixed decorations; placing them again would count them
    // twice.
    request.placeFixed = false;
    DescribeSet(set, table, request);
    DecoBlock block;
    if (!fitter.FitDecorations(request, block)) {
        return false;
    }
    AddDecorations(set, block);
    return true;
}

// The exact refine keeps the set's pieces and decorations and looks for the cheapest decorations
// to add in its free slots, a doubling piece's own slots included.
bool RefineExactly(CEquipSet& set, ExactFitter& fitter) {
    const std::optional<FreeRoom> room = FreeRoomOf(set);
    if (!room) {
        return false;
    }
    int base[kMaxTrackedSkills] = {};
    for (int k = 0; k < fitter.SkillCount(); ++k) {
        base[k] = SkillPoints(set, fitter.Skill(k).systemId);
    }
    DecoBlock added;
    if (!fitter.Arrange(*room, base, added)) {
        return false;
    }
    AddDecorations(set, added);
    return true;
}

// Keeps the `maxDisplay` best sets of the list, best first; equal ones stay in list order.
void RankResults(const CSearchCondition& condition, SearchOutcome& outcome) {
    RankedSets ranked(condition.maxDisplay);
    for (std::unique_ptr<CEquipSet>& set : outcome.results) {
        const std::int64_t key = RankValue(*set, condition.rankKey, condition);
        const std::int64_t defense = set->TotalDefense();
        ranked.Offer(key, defense, *set);
    }
    outcome.results = ranked.TakeRanked();
    if (ranked.Cut()) {
        outcome.NoteStop(SearchStop::kDisplayLimit);
    }
}

} // namespace

void RunRefine(const CEquipDatabase& database, const CSearchCondition& condition,
               SearchProgress& progress, SearchOutcome& outcome, platform::MessageSink* sink) {
    // A refine keeps or drops each listed set; nothing interrupts it.
    SkillTable table;
    if (!StartRun(condition, database, progress, outcome, sink, table)) {
        return;
    }
    std::vector<std::unique_ptr<CEquipSet>> previous = std::move(outcome.results);
    outcome.results.clear();
    progress.totalCombos = previous.size();
    progress.visited = 0;
    outcome.hitCount = 0;
    progress.running = 1;

    DecorationFitter fitter(table, condition);
    const std::vector<TrackedSkill> skills = TrackedSkillsOf(table);
    ExactFitter exactFitter(skills.data(), static_cast<int>(skills.size()),
                            ExactDecorations(condition, database, skills));
    for (std::unique_ptr<CEquipSet>& set : previous) {
        set->weaponSlots = condition.weaponSlots;
        const bool passes =
            condition.exactFitting ? RefineExactly(*set, exactFitter) : Refine(*set, table, fitter);
        // The refine keeps a set only above the minimum defence, while the search keeps one that
        // reaches it: a set at the minimum exactly is listed by a search and dropped by its
        // refine. The refine's rule is the one its players were given, and the rule-based
        // results never change, so the two are not brought into line.
        if (passes && set->TotalDefense() > condition.minDefense) {
            outcome.results.push_back(std::move(set));
            ++outcome.hitCount;
        }
        ++progress.visited;
    }
    if (condition.rankKey != RankKey::kNone) {
        RankResults(condition, outcome);
    }
    progress.running = 0;
    progress.Post(SearchHost::kSearchFinished);
}
