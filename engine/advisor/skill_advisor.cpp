#include "engine/advisor/skill_advisor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "engine/condition/chosen_skill_table.h"
#include "engine/exact/exact_combination.h"
#include "engine/exact/feasibility_probe.h"
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

std::vector<int> FindAddableSkills(CSkillSearch& engine, const CSearchCondition& condition,
                                   int threads, bool& aborted) {
    const CEquipDatabase& database = engine.database;
    const std::vector<TrackedSkill> chosen = ChosenSkills(condition, database);
    const auto levels = CandidateLevels(condition, database);
    std::vector<const std::map<int, std::vector<int>>*> systems;
    std::vector<int> systemIds;
    for (const auto& [id, thresholds] : levels) {
        systemIds.push_back(id);
        systems.push_back(&thresholds);
    }
    engine.abortRequested = 0;
    engine.running = 1;
    engine.visited = 0;
    std::atomic<bool> stop{false};
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    engine.totalCombos = systems.size();
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
        if (engine.owner != nullptr) {
            engine.owner->PumpMessages();
        }
        engine.visited = done;
        stop = stop || engine.abortRequested != 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    aborted = stop || engine.abortRequested != 0;
    engine.visited = done;
    engine.running = 0;
    std::vector<int> rows;
    for (const std::vector<int>& list : found) {
        rows.insert(rows.end(), list.begin(), list.end());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<int> AddableSkillsOfSet(const CEquipDatabase& database,
                                    const CSearchCondition& condition, const CEquipSet& set) {
    std::vector<TrackedSkill> skills = ChosenSkills(condition, database);
    FreeRoom room;
    int doubling = 0;
    for (int position = 0; position < kPositionCount; ++position) {
        room.capacity[position] = std::clamp(set.FreeSlots(position), 0, 3);
        if (position < kSlotCount && set.pieces[position] != nullptr) {
            doubling += set.pieces[position]->bodyDoubling ? 1 : 0;
        }
    }
    room.times[kBody] = 1 + doubling;
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
            if (!fitter.CanMeet(room, base)) {
                break;
            }
            addable.insert(addable.end(), list.begin(), list.end());
        }
    }
    std::sort(addable.begin(), addable.end());
    return addable;
}

std::vector<SkillAdvice> AdviseWithout(CSkillSearch& engine, const CSearchCondition& condition) {
    std::vector<std::unique_ptr<CEquipSet>> results = std::move(engine.results);
    const std::uint64_t visited = engine.visited;
    const std::uint64_t total = engine.totalCombos;
    const std::uint32_t hits = engine.hitCount;
    const std::uint64_t sets = engine.setCount;
    const SearchStop stop = engine.stopReason;
    SearchHost* owner = engine.owner;
    engine.owner = nullptr;
    std::vector<SkillAdvice> advice;
    for (int k = 0; k < condition.skillCount; ++k) {
        const int row = condition.skillRows[k];
        if (IsExcludedSkill(condition, row)) {
            continue;
        }
        // Only the count matters: a ranking would examine every combination to order sets
        // nobody sees.
        CSearchCondition without = condition;
        without.rankKey = RankKey::kNone;
        std::copy(condition.skillRows + k + 1, condition.skillRows + condition.skillCount,
                  without.skillRows + k);
        --without.skillCount;
        engine.Search(without);
        advice.push_back(
            {row, engine.results.size(), engine.results.size() >= condition.maxDisplay});
    }
    std::stable_sort(advice.begin(), advice.end(),
                     [](const SkillAdvice& a, const SkillAdvice& b) { return a.sets > b.sets; });
    engine.owner = owner;
    engine.results = std::move(results);
    engine.visited = visited;
    engine.totalCombos = total;
    engine.hitCount = hits;
    engine.setCount = sets;
    engine.stopReason = stop;
    return advice;
}
