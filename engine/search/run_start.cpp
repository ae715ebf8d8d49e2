#include "engine/search/run_start.h"

bool StartRun(const CSearchCondition& condition, const CEquipDatabase& database,
              SearchProgress& progress, SearchOutcome& outcome, platform::MessageSink* sink,
              SkillTable& table) {
    progress.abortRequested = 0;
    outcome.stopReason = SearchStop::kCompleted;
    return PrepareSkillTable(condition, database, sink, table);
}
