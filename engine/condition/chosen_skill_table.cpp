#include "engine/condition/chosen_skill_table.h"

#include <algorithm>

#include "engine/condition/skill_limits.h"
#include "engine/tables/contains.h"

namespace {

bool IsUsable(const CSearchCondition& condition, const CDecoData* deco) {
    if (Contains(condition.excludedDecos, deco)) {
        return false;
    }
    return !condition.ownedOnly || Contains(condition.ownedDecos, deco);
}

bool IsValidCondition(const CSearchCondition& condition, const CEquipDatabase& database) {
    const int rowCount = static_cast<int>(database.Skills().size());
    if (condition.skillCount < 0 || condition.skillCount > kMaxChosenSkills ||
        condition.excludedSkillCount < 0 || condition.excludedSkillCount > kMaxChosenSkills) {
        return false;
    }
    for (int k = 0; k < condition.skillCount; ++k) {
        if (condition.skillRows[k] < 0 || condition.skillRows[k] >= rowCount) {
            return false;
        }
    }
    return true;
}

int DecoCost(const CDecoData* deco) {
    switch (deco->size) {
    case 3:
        return 5;
    case 2:
        return 2;
    default:
        return 1;
    }
}

// Stable, so skills of equal cost keep the order the user chose them in.
void OrderByCost(const CSearchCondition& condition, const std::vector<CDecoData*>& usable,
                 const CEquipDatabase& database, SkillTable& table) {
    int cost[kMaxChosenSkills] = {};
    int order[kMaxChosenSkills] = {};
    for (int k = 0; k < condition.skillCount; ++k) {
        order[k] = k;
        const int id = database.Skills()[condition.skillRows[k]]->systemId;
        for (const CDecoData* deco : usable) {
            if (deco->HasPositive(id)) {
                cost[k] += DecoCost(deco);
            }
        }
    }
    std::stable_sort(order, order + condition.skillCount,
                     [&cost](int a, int b) { return cost[a] < cost[b]; });
    table.count = condition.skillCount;
    for (int k = 0; k < table.count; ++k) {
        const int row = condition.skillRows[order[k]];
        table.rows[k] = row;
        table.chosenRows[k] = database.Skills()[row];
        table.chosenIds[k] = table.chosenRows[k]->systemId;
        table.excluded[k] = IsExcludedSkill(condition, row);
    }
}

// A later decoration of a size replaces an earlier one, minus points included.
void KeepDecoration(SkillTable& table, int k, CDecoData* deco) {
    const int size = deco->size;
    table.decoFor[k][size] = deco;
    table.decoPoints[k][size] = deco->PointsFor(table.chosenIds[k]);
    deco->skillIndex = k;
    for (int m = 0; m < table.count; ++m) {
        table.decoMinus[k][m][size] = m != k && deco->HasNegative(table.chosenIds[m])
                                          ? deco->PointsFor(table.chosenIds[m])
                                          : 0;
    }
}

int MinusMagnitude(const SkillTable& table, int k, int size) {
    int total = 0;
    for (int m = 0; m < table.count; ++m) {
        if (m != k) {
            total -= table.decoMinus[k][m][size];
        }
    }
    return total;
}

// A size-2 decoration worth less than two size-1 ones (minus points weighed in) is dropped.
void PruneSizeTwo(SkillTable& table, int k) {
    const int a = table.decoPoints[k][2] + MinusMagnitude(table, k, 2);
    const int b = 2 * (table.decoPoints[k][1] + MinusMagnitude(table, k, 1));
    if (a >= b) {
        return;
    }
    table.decoFor[k][2] = nullptr;
    table.decoPoints[k][2] = 0;
    for (int m = 0; m < table.count; ++m) {
        table.decoMinus[k][m][2] = 0;
    }
}

} // namespace

bool IsExcludedSkill(const CSearchCondition& condition, int row) {
    const int count = std::clamp(condition.excludedSkillCount, 0, kMaxChosenSkills);
    return std::find(condition.excludedSkillRows, condition.excludedSkillRows + count, row) !=
           condition.excludedSkillRows + count;
}

int BuildSkillTable(const CSearchCondition& condition, const CEquipDatabase& database,
                    SkillTable& table) {
    table = SkillTable{};
    for (CDecoData* deco : database.Decos()) {
        deco->skillIndex = -1;
    }
    if (!IsValidCondition(condition, database)) {
        return 0;
    }
    std::vector<CDecoData*> usable;
    for (CDecoData* deco : database.Decos()) {
        if (IsUsable(condition, deco)) {
            usable.push_back(deco);
        }
    }
    OrderByCost(condition, usable, database, table);
    for (int k = 0; k < table.count; ++k) {
        for (CDecoData* deco : usable) {
            // Only sizes that fit a slot can be placed; other sizes still count in the cost.
            if (deco->size >= 1 && deco->size <= 3 && deco->HasPositive(table.chosenIds[k])) {
                KeepDecoration(table, k, deco);
            }
        }
        PruneSizeTwo(table, k);
    }
    return 1;
}

bool PrepareSkillTable(const CSearchCondition& condition, const CEquipDatabase& database,
                       platform::MessageSink* sink, SkillTable& table) {
    if (const char* problem = SkillCountProblem(condition)) {
        platform::Tell(sink, problem);
        return false;
    }
    if (!BuildSkillTable(condition, database, table)) {
        platform::Tell(sink, kSkillTableFailed);
        return false;
    }
    return true;
}
