#include "engine/support/prepared_tables.h"

PreparedTables::PreparedTables(const CSearchCondition& condition, const CEquipDatabase& database)
    : skills(BuildTables(condition, database)),
      exact(skills.data(), static_cast<int>(skills.size()),
            ExactDecorations(condition, database, skills)) {}

// Fills the members before `skills` and returns it: the fitter after it needs it made.
std::vector<TrackedSkill> PreparedTables::BuildTables(const CSearchCondition& condition,
                                                      const CEquipDatabase& database) {
    BuildSkillTable(condition, database, table);
    BuildCandidates(condition, database, table, candidates);
    GroupCandidates(candidates, table, groups);
    return TrackedSkillsOf(table);
}
