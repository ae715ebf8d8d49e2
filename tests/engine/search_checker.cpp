#include "search_checker.h"

#include <algorithm>
#include <string>

#include "engine/skill_summary.h"

namespace {

template <typename List, typename T> bool Has(const List& list, const T* item) {
    return std::find(std::begin(list), std::end(list), item) != std::end(list);
}

std::string PieceFault(const CEquipData* piece, int slot, const CSearchCondition& c) {
    if (piece == nullptr || piece->kind != slot) {
        return "no piece of its slot";
    }
    if (c.fixed.pieces[slot] != nullptr) {
        return piece == c.fixed.pieces[slot] ? "" : "fixed piece replaced";
    }
    const bool allowed =
        !Has(c.excluded[slot], piece) && (!c.ownedOnly || Has(c.owned[slot], piece)) &&
        !(c.excludeDoubling && piece->bodyDoubling) && (piece->job == 0 || piece->job == c.job) &&
        (piece->sex == 0 || piece->sex == c.sex) && piece->rarity >= 0 &&
        piece->rarity < kRarityCount && c.rarityAllowed[piece->rarity];
    return allowed ? "" : "piece not allowed";
}

std::string DecoFault(const CEquipSet& set, int position, const CSearchCondition& c) {
    int used = 0;
    for (int entry = 0; entry < 3; ++entry) {
        const CDecoData* deco = set.decos[position][entry];
        if (deco == nullptr) {
            continue;
        }
        if (entry > 0 && set.decos[position][entry - 1] == nullptr) {
            return "decorations not packed";
        }
        used += deco->size;
        if (!Has(c.fixed.decos[position], deco) &&
            (Has(c.excludedDecos, deco) || (c.ownedOnly && !Has(c.ownedDecos, deco)))) {
            return "decoration not allowed";
        }
    }
    const int slots = position == kWeaponPosition ? c.weaponSlots : set.pieces[position]->slots;
    return used <= slots ? "" : "decorations beyond the slots";
}

} // namespace

::testing::AssertionResult IsValidResult(const CEquipSet& set, const CSearchCondition& condition,
                                         const CEquipDatabase& database, bool refined) {
    for (int position = 0; position < kPositionCount; ++position) {
        std::string fault = position < kSlotCount
                                ? PieceFault(set.pieces[position], position, condition)
                                : (set.pieces[position] ? "a piece at the weapon" : "");
        if (fault.empty()) {
            fault = DecoFault(set, position, condition);
        }
        if (!fault.empty()) {
            return ::testing::AssertionFailure() << "position " << position << ": " << fault;
        }
    }
    const int defense = set.TotalDefense();
    if (refined ? defense <= condition.minDefense : defense < condition.minDefense) {
        return ::testing::AssertionFailure() << "defence " << defense << " below the minimum";
    }
    SkillRowTable rows;
    const int count = SkillSummary(set, database.Skills(), rows);
    for (int i = 0; i < condition.skillCount; ++i) {
        const int row = condition.skillRows[i];
        const CSkillData& level = *database.Skills()[row];
        const auto found = std::find_if(rows.begin(), rows.begin() + count, [&](const SkillRow& r) {
            return r.systemId == level.systemId;
        });
        const int total = found == rows.begin() + count ? 0 : found->total;
        const int* avoidedEnd = condition.excludedSkillRows + condition.excludedSkillCount;
        const bool avoided = std::find(condition.excludedSkillRows, avoidedEnd, row) != avoidedEnd;
        if (level.IsReached(total) == avoided) {
            return ::testing::AssertionFailure() << "skill row " << row << " has " << total
                                                 << " points" << (avoided ? ", avoided" : "");
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
