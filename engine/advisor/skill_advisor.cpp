#include "engine/advisor/skill_advisor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "engine/condition/chosen_skill_table.h"
#include "engine/exact/exact_combination.h"
#include "engine/exact/feasibility_probe.h"
#include "engine/search/search_run.h"
#include "engine/sets/skill_summary.h"

namespace {

std::vector<TrackedSkill> ChosenSkills(const CSearchCondition& condition,
                                       const CEquipDatabase& database) {
    std::vector<TrackedSkill> skills;
    for (int k = 0; k < condition.skillCount; ++k) {
        const int row = condition.skillRows[k];
        skills.push_back(
            TrackedSkill::For(*database.Skills()[row], IsExcludedSkill(condition, row)));
    }
    return skills;
}

bool Offered(const CSkillData& skill, int job) {
    return skill.threshold > 0 && (skill.jobFilter == 0 || skill.jobFilter == job);
}

// The rows a player could add, by skill system, each system's thresholds in rising order.
std::map<int, std::map<int, std::vector<int>>> CandidateLevels(const CSearchCondition& condition,
                                                               const CEquipDatabase& database) {
    std::vector<int> chosenSystems;
    for (int k = 0; k < condition.skillCount; ++k) {
        chosenSystems.push_back(database.Skills()[condition.skillRows[k]]->systemId);
    }
    std::map<int, std::map<int, std::vector<int>>> levels;
    const std::vector<CSkillData*>& skills = database.Skills();
    for (std::size_t row = 0; row < skills.size(); ++row) {
        const CSkillData& skill = *skills[row];
        if (Offered(skill, condition.job) && std::find(chosenSystems.begin(), chosenSystems.end(),
                                                       skill.systemId) == chosenSystems.end()) {
            levels[skill.systemId][skill.threshold].push_back(static_cast<int>(row));
        }
    }
    return levels;
}

} // namespace

std::vector<int> FindAddableSkills(const CEquipDatabase& database,
                                   const CSearchCondition& condition, int threads,
                                   SearchProgress& progress, bool& aborted) {
    const std::vector<TrackedSkill> chosen = ChosenSkills(condition, database);
    const auto levels = CandidateLevels(condition, database);
    std::vector<const std::map<int, std::vector<int>>*> systems;
    std::vector<int> systemIds;
    for (const auto& [id, thresholds] : levels) {
        systemIds.push_back(id);
        systems.push_back(&thresholds);
    }
    progress.abortRequested = 0;
    progress.running = 1;
    progress.visited = 0;
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    progress.totalCombos = systems.size();
    std::vector<std::vector<int>> found(systems.size());
    auto work = [&] {
        for (std::size_t i = next++; i < systems.size() && !stop; i = next++) {
            std::vector<TrackedSkill> skills = chosen;
            skills.push_back(TrackedSkill{systemIds[i], 1, 0});
            // Levels are met in rising order: once one is out of reach, so are the higher.
            for (const auto& [threshold, rows] : *systems[i]) {
                skills.back().bound = threshold;
                if (!FeasibilityProbe(condition, database, skills, &stop).AnySet()) {
                    break;
                }
                found[i].insert(found[i].end(), rows.begin(), rows.end());
            }
            ++done;
        }
    };
    // The workers probe; the calling thread keeps the host alive and passes on an abort.
    std::vector<std::thread> workers;
    for (int t = 0; t < std::max(threads, 1); ++t) {
        workers.emplace_back(work);
    }
    while (done < systems.size() && !stop) {
        progress.Pump();
        progress.visited = done;
        stop = stop || progress.AbortRequested();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    aborted = stop || progress.AbortRequested();
    progress.visited = done;
    progress.running = 0;
    std::vector<int> rows;
    for (const std::vector<int>& list : found) {
        rows.insert(rows.end(), list.begin(), list.end());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> AddableSkillsOfSet(const CEquipDatabase& database,
                                    const CSearchCondition& condition, const CEquipSet& set) {
    const std::optional<FreeRoom> room = FreeRoomOf(set);
    if (!room) {
        return {};
    }
    std::vector<TrackedSkill> skills = ChosenSkills(condition, database);
    std::map<int, std::map<int, std::vector<int>>> levels;
    const std::vector<CSkillData*>& rows = database.Skills();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const CSkillData& skill = *rows[row];
        if (Offered(skill, condition.job) && !IsExcludedSkill(condition, static_cast<int>(row)) &&
            !skill.IsReached(SkillPoints(set, skill.systemId))) {
            levels[skill.systemId][skill.threshold].push_back(static_cast<int>(row));
        }
    }
    std::vector<int> addable;
    skills.push_back(TrackedSkill{});
    for (const auto& [id, thresholds] : levels) {
        for (const auto& [threshold, list] : thresholds) {
            skills.back() = TrackedSkill{id, 1, threshold};
            ExactFitter fitter(skills.data(), static_cast<int>(skills.size()),
                               ExactDecorations(condition, database, skills));
            int base[kMaxTrackedSkills] = {};
            for (std::size_t k = 0; k < skills.size(); ++k) {
                base[k] = SkillPoints(set, skills[k].systemId);
            }
            if (!fitter.CanMeet(*room, base)) {
                break;
            }
            addable.insert(addable.end(), list.begin(), list.end());
        }
    }
    std::sort(addable.begin(), addable.end());
    return addable;
}

namespace {

// Passes the pumps of the advice's searches on to the host and keeps their completion messages
// from it: they are not the search the host is waiting for. An abort the host asks for during a
// pump reaches the running search.
class PumpOnly : public SearchHost {
public:
    explicit PumpOnly(AdviceProgress* advice) : advice_(advice) {}
    void Post(unsigned, std::uint64_t, std::uint64_t) override {}
    void PumpMessages() override {
        if (advice_ == nullptr || advice_->host == nullptr) {
            return;
        }
        advice_->host->PumpMessages();
        if (advice_->abortRequested != 0 && search_ != nullptr) {
            search_->abortRequested = 1;
        }
    }
    void Serve(SearchProgress* search) { search_ = search; }

private:
    AdviceProgress* advice_;
    SearchProgress* search_ = nullptr;
};

struct AdviceSearch {
    SkillAdvice line;
    CSearchCondition condition;
};

CSearchCondition WithoutChosen(const CSearchCondition& condition, int k) {
    CSearchCondition without = condition;
    std::copy(condition.skillRows + k + 1, condition.skillRows + condition.skillCount,
              without.skillRows + k);
    --without.skillCount;
    return without;
}

// Each change that could let sets through: chosen rows first, then the condition's other limits.
// Only the counts matter: a ranking would examine every combination to order sets nobody sees.
std::vector<AdviceSearch> AdviceSearches(const CSearchCondition& original) {
    CSearchCondition condition = original;
    condition.rankKey = RankKey::kNone;
    std::vector<AdviceSearch> searches;
    for (int k = 0; k < condition.skillCount; ++k) {
        const int row = condition.skillRows[k];
        if (!IsExcludedSkill(condition, row)) {
            searches.push_back({{row, 0, false, AdviceKind::kSkill}, WithoutChosen(condition, k)});
        }
    }
    const auto add = [&](AdviceKind kind, auto change) {
        CSearchCondition changed = condition;
        change(changed);
        searches.push_back({{0, 0, false, kind}, changed});
    };
    if (condition.minDefense > 0) {
        add(AdviceKind::kMinDefence, [](CSearchCondition& c) { c.minDefense = 0; });
    }
    if (condition.ownedOnly != 0) {
        add(AdviceKind::kOwnedOnly, [](CSearchCondition& c) { c.ownedOnly = 0; });
    }
    if (!condition.fixed.IsEmpty()) {
        add(AdviceKind::kFixed, [](CSearchCondition& c) {
            c.fixed.Clear();
            c.fixed.weaponSlots = c.weaponSlots;
        });
    }
    if (condition.exactFitting == 0) {
        add(AdviceKind::kExactFitting, [](CSearchCondition& c) { c.exactFitting = 1; });
    }
    return searches;
}

} // namespace

std::vector<SkillAdvice> AdviseWithout(const CEquipDatabase& database,
                                       const CSearchCondition& condition,
                                       AdviceProgress* progress) {
    PumpOnly pump(progress);
    SearchProgress searchProgress(&pump);
    pump.Serve(&searchProgress);
    const std::vector<AdviceSearch> searches = AdviceSearches(condition);
    if (progress != nullptr) {
        progress->Restart();
        progress->total = static_cast<int>(searches.size());
    }
    std::vector<SkillAdvice> advice;
    for (const AdviceSearch& search : searches) {
        SearchOutcome outcome;
        RunSearch(database, search.condition, searchProgress, outcome, nullptr);
        if (outcome.stopReason == SearchStop::kAborted || searchProgress.AbortRequested() ||
            (progress != nullptr && progress->abortRequested != 0)) {
            advice.clear();
            if (progress != nullptr) {
                progress->aborted = true;
            }
            break;
        }
        SkillAdvice line = search.line;
        line.sets = outcome.results.size();
        line.atLeast = line.sets >= condition.maxDisplay;
        advice.push_back(line);
        if (progress != nullptr) {
            ++progress->done;
        }
    }
    std::stable_sort(advice.begin(), advice.end(),
                     [](const SkillAdvice& a, const SkillAdvice& b) { return a.sets > b.sets; });
    return advice;
}
