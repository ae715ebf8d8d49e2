#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/condition/search_condition.h"
#include "engine/search/search_host.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// Why the last search or refine ended: it examined everything, or the player aborted it, or the
// list reached "最大表示件数" with more sets to come, or "最大計算件数" cut the examination.
enum class SearchStop { kCompleted, kAborted, kDisplayLimit, kCalcLimit };

// The search engine: owns the tables and the results of the last search.
//
// Public interface used by the window, the CLI and the list readers. The engine helper fills in
// the private part (skill table, candidate groups, fitting state).
class CSkillSearch {
public:
    CSkillSearch(SearchHost* owner, platform::MessageSink* sink) : owner(owner), sink(sink) {}
    CSkillSearch(const CSkillSearch&) = delete;
    CSkillSearch& operator=(const CSkillSearch&) = delete;
    ~CSkillSearch();

    void Search(const CSearchCondition& condition);
    void RefineSearch(const CSearchCondition& condition);

    int SaveResults(const std::string& path, int job, int sex, int weaponSlots);
    int LoadResults(const std::string& path, int& job, int& sex, int& weaponSlots);

    // Records what cut the search short. The first reason stays, but an abort tells more than a
    // limit: the player asked for it.
    void NoteStop(SearchStop reason) {
        if (stopReason == SearchStop::kCompleted || reason == SearchStop::kAborted) {
            stopReason = reason;
        }
    }

    SearchHost* owner;
    platform::MessageSink* sink;
    std::int32_t abortRequested = 0;
    std::int32_t running = 0;
    // Counters are 64-bit: the product of five group counts easily passes 2^32. Past 2^64 they
    // saturate.
    std::uint64_t visited = 0;
    std::uint64_t totalCombos = 0;
    std::uint32_t hitCount = 0;
    std::uint64_t setCount = 0;
    // Group combinations the bounds ruled out without judging them; counted in `visited` too.
    std::uint64_t pruned = 0;
    SearchStop stopReason = SearchStop::kCompleted;
    CEquipDatabase database;
    std::vector<std::unique_ptr<CEquipSet>> results;

private:
    void RankResults(const CSearchCondition& condition);
    bool FindsMoreSetsThan(const CSearchCondition& condition, std::uint32_t count);
};
