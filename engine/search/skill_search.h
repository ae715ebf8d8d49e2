#pragma once

#include <string>

#include "engine/condition/search_condition.h"
#include "engine/search/search_host.h"
#include "engine/search/search_outcome.h"
#include "engine/search/search_progress.h"
#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// The search engine of the window and the CLI: owns the tables, and the progress and outcome of
// its last search, whose fields (`visited`, `results`, `stopReason`, ...) it exposes as its own.
// Whatever runs searches of its own (the advisor) does so on objects of its own.
class CSkillSearch : public SearchProgress, public SearchOutcome {
public:
    CSkillSearch(SearchHost* owner, platform::MessageSink* sink)
        : SearchProgress(owner), sink(sink) {}

    void Search(const CSearchCondition& condition);
    void RefineSearch(const CSearchCondition& condition);

    int SaveResults(const std::string& path, int job, int sex, int weaponSlots);
    int LoadResults(const std::string& path, int& job, int& sex, int& weaponSlots);

    platform::MessageSink* sink;
    CEquipDatabase database;
};
