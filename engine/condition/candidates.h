#pragma once

#include <cstdint>
#include <vector>

#include "engine/condition/chosen_skill_table.h"
#include "engine/condition/group_key.h"
#include "engine/condition/search_condition.h"
#include "engine/tables/equip_database.h"

using CandidateList = std::vector<CEquipData*>;

// Pieces of one slot that are interchangeable for the search: the same points in every chosen
// skill and the same slot count.
struct CandidateGroup {
    GroupKey key = 0;
    int bestDefense = 0;
    int slots = 0;
    int count = 0;
};

using GroupList = std::vector<CandidateGroup>;

// Whether a piece of a slot not fixed may take part in a search for the skill systems `ids`.
bool Qualifies(const CSearchCondition& condition, const int* ids, int count, int slot,
               const CEquipData* piece);
// A key field holds -16 to 15 points; a piece beyond that in a chosen skill would be counted with
// wrapped points, so it cannot take part in the search at all.
bool FitsAKey(const CEquipData* piece, const int* ids, int count);

// Fills the five candidate lists, each sorted by effective defence, highest first. Returns 0 when
// a fixed piece is not a record of its slot's table.
int BuildCandidates(const CSearchCondition& condition, const CEquipDatabase& database,
                    const SkillTable& table, CandidateList (&lists)[kSlotCount]);

// The key a piece gets for the chosen skills of `table`.
GroupKey GroupKeyOf(const CEquipData& piece, const SkillTable& table);

// Groups each slot's candidates by key, writes every candidate's `groupKey`, and orders each
// slot's groups by key, highest first: the body-doubling group leads, and equivalent groups are
// adjacent with the one with more slots first.
void GroupCandidates(const CandidateList (&lists)[kSlotCount], const SkillTable& table,
                     GroupList (&groups)[kSlotCount]);
