#include "set_check.h"

#include <algorithm>

#include "engine/sets/skill_summary.h"
#include "fuzz_support.h"

namespace fuzz {
namespace {

void CheckSlots(const CEquipSet& set, int weaponSlots) {
    for (int position = 0; position < kPositionCount; ++position) {
        const bool isPiece = position < kSlotCount;
        Check(!isPiece ||
                  (set.pieces[position] != nullptr && set.pieces[position]->kind == position),
              "a listed set lacks a piece of its slot");
        int used = 0;
        for (int entry = 0; entry < 3; ++entry) {
            const CDecoData* deco = set.decos[position][entry];
            Check(deco == nullptr || entry == 0 || set.decos[position][entry - 1] != nullptr,
                  "decorations of a listed set are not packed");
            used += deco != nullptr ? deco->size : 0;
        }
        const int slots = isPiece ? set.pieces[position]->slots : weaponSlots;
        Check(used <= slots, "decorations of a listed set go beyond the slots");
    }
}

bool IsAvoided(const CSearchCondition& condition, int row) {
    const int* end = condition.excludedSkillRows + condition.excludedSkillCount;
    return std::find(condition.excludedSkillRows, end, row) != end;
}

// A set touching more skill systems than the summary has room for loses its last rows; a chosen
// skill whose row is missing then cannot be judged from the summary.
void CheckSkills(const CEquipSet& set, const CSearchCondition& condition,
                 const CEquipDatabase& database) {
    const std::vector<CSkillData*>& skills = database.Skills();
    SkillRowTable rows;
    const int count = SkillSummary(set, skills, database.SkillSystems(), rows);
    Check(count >= 0 && count <= kSkillRowCapacity, "summary row count out of range");
    for (int k = 0; k < condition.skillCount; ++k) {
        const CSkillData& level = *skills[condition.skillRows[k]];
        const auto found = std::find_if(rows.begin(), rows.begin() + count, [&](const SkillRow& r) {
            return r.systemId == level.systemId;
        });
        if (found == rows.begin() + count && count == kSkillRowCapacity) {
            continue;
        }
        const int total = found == rows.begin() + count ? 0 : found->total;
        Check(level.IsReached(total) != IsAvoided(condition, condition.skillRows[k]),
              "a listed set misses a chosen skill or reaches an avoided one");
    }
}

} // namespace

void CheckListedSets(const CSkillSearch& engine, const CSearchCondition& condition, bool refined) {
    for (const auto& set : engine.results) {
        CheckSlots(*set, condition.weaponSlots);
        const int defense = set->TotalDefense();
        Check(refined ? defense > condition.minDefense : defense >= condition.minDefense,
              "a listed set is below the minimum defence");
        CheckSkills(*set, condition, engine.database);
    }
}

void SearchAndRefine(CSkillSearch& engine, const CSearchCondition& condition,
                     const CSearchCondition& refine) {
    engine.Search(condition);
    CheckListedSets(engine, condition, false);
    engine.RefineSearch(refine);
    CheckListedSets(engine, refine, true);
}

} // namespace fuzz
