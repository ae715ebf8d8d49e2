#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct CEquipSet;
struct CSkillData;
class CSkillSystems;

// One row of a set's skill summary: the points each position gives one skill system.
struct SkillRow {
    std::int32_t systemId = 0;
    std::int32_t points[6] = {}; // head, body, arm, waist, leg, weapon decorations
    std::int32_t doubling[5] = {};
    std::int32_t total = 0;
    std::int32_t skillIndex = -1; // activated row of the skill table, or -1
};

constexpr int kSkillRowCapacity = 48;
using SkillRowTable = std::array<SkillRow, kSkillRowCapacity>;

// Fills `out` with one row per skill system of `systems` the set touches (activated levels first,
// then by total, descending), plus a marker row for body-doubling pieces. Returns the row count,
// never more than the capacity: when a set touches more systems than fit, the rows sorted last are
// dropped, and the marker row always keeps its place.
int SkillSummary(const CEquipSet& set, const std::vector<CSkillData*>& skills,
                 const CSkillSystems& systems, SkillRowTable& out);

// The points of skill system `id` in a set, counted as its row of the summary counts them.
int SkillPoints(const CEquipSet& set, int id);

// The skill-table row activated by `total` points in system `id`, or -1. The largest positive
// threshold reached wins, or the most negative minus level; on equal thresholds the later row.
int ActivatedSkill(int id, int total, const std::vector<CSkillData*>& skills);

// Whether a reached level `reached` of a system is activated in place of `best`, the one found
// before it in table order (nullptr: none), by the rule above.
bool TakesPlaceOf(const CSkillData& reached, const CSkillData* best);
