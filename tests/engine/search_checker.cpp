#include "search_checker.h"

#include <algorithm>
#include <string>

#include "engine/skill_summary.h"

namespace {

template <typename T> bool Contains(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

int SystemTotal(const SkillRowTable& rows, int count, int id) {
    for (int i = 0; i < count; ++i) {
        if (rows[i].systemId == id) {
            return rows[i].total;
        }
    }
    return 0;
}

bool IsAvoided(const CSearchCondition& condition, int row) {
    for (int i = 0; i < condition.excludedSkillCount; ++i) {
        if (condition.excludedSkillRows[i] == row) {
            return true;
        }
    }
    return false;
}

std::string CheckPiece(const CEquipData* piece, int slot, const CSearchCondition& condition) {
    const std::string where = "slot " + std::to_string(slot) + ": ";
    if (piece == nullptr) {
        return where + "no piece";
    }
    if (piece->kind != slot) {
        return where + "piece of another slot";
    }
    if (condition.fixed.pieces[slot] != nullptr) {
        return piece == condition.fixed.pieces[slot] ? "" : where + "fixed piece replaced";
    }
    if (Contains(condition.excluded[slot], piece) ||
        (condition.ownedOnly && !Contains(condition.owned[slot], piece)) ||
        (condition.excludeDoubling && piece->bodyDoubling) ||
        (piece->job != 0 && piece->job != condition.job) ||
        (piece->sex != 0 && piece->sex != condition.sex) || piece->rarity < 0 ||
        piece->rarity >= kRarityCount || !condition.rarityAllowed[piece->rarity]) {
        return where + "piece not allowed";
    }
    return "";
}

std::string CheckDecorations(const CEquipSet& set, int position,
                             const CSearchCondition& condition) {
    const std::string where = "position " + std::to_string(position) + ": ";
    const int slots =
        position == kWeaponPosition ? condition.weaponSlots : set.pieces[position]->slots;
    int used = 0;
    bool gap = false;
    for (const CDecoData* deco : set.decos[position]) {
        if (deco == nullptr) {
            gap = true;
            continue;
        }
        if (gap) {
            return where + "decorations not packed";
        }
        used += deco->size;
        const auto& fixedDecos = condition.fixed.decos[position];
        const bool fixed =
            std::find(std::begin(fixedDecos), std::end(fixedDecos), deco) != std::end(fixedDecos);
        if (!fixed && (Contains(condition.excludedDecos, deco) ||
                       (condition.ownedOnly && !Contains(condition.ownedDecos, deco)))) {
            return where + "decoration not allowed";
        }
    }
    if (used > slots) {
        return where + "decorations need " + std::to_string(used) + " of " + std::to_string(slots) +
               " slots";
    }
    return "";
}

} // namespace

::testing::AssertionResult IsValidResult(const CEquipSet& set, const CSearchCondition& condition,
                                         const CEquipDatabase& database, bool refined) {
    if (set.pieces[kWeaponPosition] != nullptr) {
        return ::testing::AssertionFailure() << "a piece at the weapon position";
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (std::string fault = CheckPiece(set.pieces[slot], slot, condition); !fault.empty()) {
            return ::testing::AssertionFailure() << fault;
        }
    }
    for (int position = 0; position < kPositionCount; ++position) {
        if (std::string fault = CheckDecorations(set, position, condition); !fault.empty()) {
            return ::testing::AssertionFailure() << fault;
        }
    }
    const int defense = set.TotalDefense();
    if (refined ? defense <= condition.minDefense : defense < condition.minDefense) {
        return ::testing::AssertionFailure() << "defence " << defense << " below the minimum";
    }
    SkillRowTable rows;
    const int count = SkillSummary(set, database.Skills(), rows);
    for (int i = 0; i < condition.skillCount; ++i) {
        const CSkillData& level = *database.Skills()[condition.skillRows[i]];
        const int total = SystemTotal(rows, count, level.systemId);
        const bool avoided = IsAvoided(condition, condition.skillRows[i]);
        if (level.IsReached(total) == avoided) {
            return ::testing::AssertionFailure()
                   << "skill row " << condition.skillRows[i] << " (threshold "
                   << int{level.threshold} << ") has " << total << " points"
                   << (avoided ? " but must not be active" : "");
        }
    }
    return ::testing::AssertionSuccess();
}

void ExpectValidResults(const CSkillSearch& engine, const CSearchCondition& condition,
                        bool refined) {
    for (std::size_t i = 0; i < engine.results.size(); ++i) {
        EXPECT_TRUE(IsValidResult(*engine.results[i], condition, engine.database, refined))
            << "result " << i;
    }
}
