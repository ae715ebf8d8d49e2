#include "engine/support/random_tables.h"

#include <algorithm>
#include <string>

#include "engine/condition/group_key.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"

namespace {

constexpr int kSystems = 3; // three levels each, in order: low, high, minus

int Pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

CDecoData* AnyDeco(std::mt19937& random, const CEquipDatabase& database) {
    return database.Decos()[Pick(random, 0, static_cast<int>(database.Decos().size()) - 1)];
}

void AddRecords(std::mt19937& random, CEquipDatabase& database) {
    for (int s = 0; s < kSystems; ++s) {
        for (const int threshold : {Pick(random, 4, 8), Pick(random, 9, 13), -Pick(random, 2, 5)}) {
            CSkillData skill;
            skill.systemId = s;
            skill.threshold = static_cast<std::int8_t>(threshold);
            database.AddSkill(skill);
        }
    }
    for (int i = Pick(random, 3, 7); i > 0; --i) {
        CDecoData deco;
        deco.size = Pick(random, 1, 3);
        deco.skillId[0] = Pick(random, 0, kSystems - 1);
        deco.skillPoints[0] = Pick(random, 1, deco.size + 2);
        deco.skillId[1] = (deco.skillId[0] + Pick(random, 1, kSystems - 1)) % kSystems;
        deco.skillPoints[1] = Pick(random, 0, 1) ? -Pick(random, 1, 3) : 0;
        database.AddDeco(deco);
    }
    const int doublingId = database.AddSkillSystem(sjis::kBodyDoubling);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int i = Pick(random, 1, 4); i > 0; --i) {
            CEquipData piece;
            piece.kind = slot;
            piece.slots = Pick(random, 0, 3);
            piece.defenseAfter = Pick(random, 1, 30);
            piece.rarity =
                Pick(random, 0, 19) == 0 ? kRarityCount : Pick(random, 0, kRarityCount - 1);
            if (Pick(random, 0, 9) == 0) {
                (Pick(random, 0, 1) == 0 ? piece.job : piece.sex) = Pick(random, 1, 2);
            }
            int entry = 0;
            if (slot != kBody && Pick(random, 0, 9) == 0) {
                piece.skillId[entry++] = doublingId;
                piece.bodyDoubling = 1;
            }
            for (int s = 0; s < kSystems; ++s) {
                if (Pick(random, 0, 2) != 0) {
                    piece.skillId[entry] = s;
                    // Now and then points that no key field holds.
                    const int beyond =
                        Pick(random, 0, 1) == 0 ? kKeyPointsMin - 1 : kKeyPointsMax + 1;
                    piece.skillPoints[entry++] =
                        Pick(random, 0, 59) == 0 ? beyond : Pick(random, -3, 5);
                }
            }
            database.AddArmor(slot, piece);
        }
    }
}

void FillCondition(std::mt19937& random, CEquipDatabase& database, CSearchCondition& c) {
    c = CSearchCondition{};
    c.maxDisplay = 1000000;
    int order[kSystems] = {0, 1, 2};
    std::shuffle(order, order + kSystems, random);
    c.skillCount = Pick(random, 1, kSystems);
    for (int k = 0; k < c.skillCount; ++k) {
        c.skillRows[k] = order[k] * 3 + (Pick(random, 0, 5) == 0 ? 2 : Pick(random, 0, 1));
    }
    if (c.skillCount > 1 && Pick(random, 0, 3) == 0) {
        c.excludedSkillRows[c.excludedSkillCount++] =
            c.skillRows[Pick(random, 0, c.skillCount - 1)];
    }
    c.job = Pick(random, 1, 2);
    c.sex = Pick(random, 1, 2);
    c.rarityAllowed[Pick(random, 0, kRarityCount - 1)] = Pick(random, 0, 1);
    c.excludeDoubling = Pick(random, 0, 5) == 0;
    if (const int slot = Pick(random, 0, kSlotCount - 1); Pick(random, 0, 2) == 0) {
        c.excluded[slot].push_back(database.Armor(slot).back());
    }
    c.weaponSlots = c.fixed.weaponSlots = Pick(random, 0, 3);
    c.minDefense = Pick(random, 0, 1) ? Pick(random, 20, 90) : 0;
    c.fastSearch = Pick(random, 0, 3) == 0;
    if (Pick(random, 0, 3) == 0) {
        const int slot = Pick(random, 0, kSlotCount - 1);
        CEquipData* piece = database.Armor(slot)[0];
        c.fixed.pieces[slot] = piece;
        if (CDecoData* deco = AnyDeco(random, database); deco->size <= piece->slots) {
            c.fixed.decos[slot][0] = deco;
        }
    }
    if (CDecoData* deco = AnyDeco(random, database); deco->size <= c.weaponSlots) {
        c.fixed.decos[kWeaponPosition][0] = Pick(random, 0, 3) == 0 ? deco : nullptr;
    }
}

} // namespace

void BuildRandomTables(std::mt19937& random, CEquipDatabase& database,
                       CSearchCondition& condition) {
    database.Clear();
    for (int s = 0; s < kSystems; ++s) {
        database.AddSkillSystem(std::string(1, static_cast<char>('a' + s)));
    }
    AddRecords(random, database);
    FillCondition(random, database, condition);
}
