#pragma once

#include <vector>

#include "engine/condition/candidates.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/exact/exact_combination.h"
#include "engine/exact/exact_fitting.h"
#include "engine/tables/equip_database.h"

// What a search builds from its condition before it walks, for the tests of the parts made from
// it: the skill table, each slot's candidates and their groups, and the complete fitting of the
// tracked skills. The fitter points into `skills`, so the whole stays where it was made.
struct PreparedTables {
    PreparedTables(const CSearchCondition& condition, const CEquipDatabase& database);
    PreparedTables(const PreparedTables&) = delete;
    PreparedTables& operator=(const PreparedTables&) = delete;

    SkillTable table;
    CandidateList candidates[kSlotCount];
    GroupList groups[kSlotCount];
    std::vector<TrackedSkill> skills;
    ExactFitter exact;

private:
    std::vector<TrackedSkill> BuildTables(const CSearchCondition& condition,
                                          const CEquipDatabase& database);
};
