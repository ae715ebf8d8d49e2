#include "random_tables.h"

#include <algorithm>

#include "engine/sjis_text.h"
#include "engine/skill_systems.h"

namespace {

constexpr int kSystems = 3;

int Pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

void AddLevels(std::mt19937& random, CEquipDatabase& database, const int* systems) {
    for (int s = 0; s < kSystems; ++s) {
        for (const int threshold : {Pick(random, 4, 8), Pick(random, 9, 13), -Pick(random, 2, 5)}) {
            CSkillData skill;
            skill.systemId = systems[s];
            skill.threshold = static_cast<std::int8_t>(threshold);
            database.AddSkill(skill);
        }
    }
}

void AddDecorations(std::mt19937& random, CEquipDatabase& database, const int* systems) {
    const int count = Pick(random, 3, 7);
    for (int i = 0; i < count; ++i) {
        CDecoData deco;
        deco.size = Pick(random, 1, 3);
        const int first = Pick(random, 0, kSystems - 1);
        deco.skillId[0] = systems[first];
        deco.skillPoints[0] = Pick(random, 1, deco.size + 2);
        deco.skillId[1] = systems[(first + Pick(random, 1, kSystems - 1)) % kSystems];
        deco.skillPoints[1] = Pick(random, 0, 1) ? -Pick(random, 1, 3) : 0;
        database.AddDeco(deco);
    }
}

void AddPieces(std::mt19937& random, CEquipDatabase& database, const int* systems) {
    const int doublingId = FindOrAddSkillSystem(sjis::kBodyDoubling);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int count = Pick(random, 1, 4);
        for (int i = 0; i < count; ++i) {
            CEquipData piece;
            piece.kind = slot;
            piece.slots = Pick(random, 0, 3);
            piece.defenseAfter = Pick(random, 1, 30);
            int entry = 0;
            if (slot != kBody && Pick(random, 0, 9) == 0) {
                piece.skillId[entry++] = doublingId;
                piece.bodyDoubling = 1;
            }
            for (int s = 0; s < kSystems; ++s) {
                if (Pick(random, 0, 2) != 0) {
                    piece.skillId[entry] = systems[s];
                    piece.skillPoints[entry++] = Pick(random, -3, 5);
                }
            }
            database.AddArmor(slot, piece);
        }
    }
}

void FixSomething(std::mt19937& random, CEquipDatabase& database, CSearchCondition& condition) {
    const std::vector<CDecoData*>& decos = database.Decos();
    if (Pick(random, 0, 3) == 0) {
        const int slot = Pick(random, 0, kSlotCount - 1);
        CEquipData* piece = database.Armor(slot)[0];
        condition.fixed.pieces[slot] = piece;
        CDecoData* deco = decos[Pick(random, 0, static_cast<int>(decos.size()) - 1)];
        if (deco->size <= piece->slots) {
            condition.fixed.decos[slot][0] = deco;
        }
    }
    if (Pick(random, 0, 3) == 0) {
        CDecoData* deco = decos[Pick(random, 0, static_cast<int>(decos.size()) - 1)];
        if (deco->size <= condition.weaponSlots) {
            condition.fixed.decos[kWeaponPosition][0] = deco;
        }
    }
}

void ChooseLevels(std::mt19937& random, CSearchCondition& condition) {
    int order[kSystems] = {0, 1, 2};
    std::shuffle(order, order + kSystems, random);
    condition.skillCount = Pick(random, 1, kSystems);
    for (int k = 0; k < condition.skillCount; ++k) {
        // Three levels per system: low, high, minus.
        const int level = Pick(random, 0, 5) == 0 ? 2 : Pick(random, 0, 1);
        condition.skillRows[k] = order[k] * 3 + level;
    }
    if (condition.skillCount > 1 && Pick(random, 0, 3) == 0) {
        condition.excludedSkillRows[condition.excludedSkillCount++] =
            condition.skillRows[Pick(random, 0, condition.skillCount - 1)];
    }
}

} // namespace

void BuildRandomTables(std::mt19937& random, CEquipDatabase& database,
                       CSearchCondition& condition) {
    database.Clear();
    ClearSkillSystems();
    int systems[kSystems];
    for (int s = 0; s < kSystems; ++s) {
        systems[s] = FindOrAddSkillSystem(std::string(1, static_cast<char>('a' + s)));
    }
    AddLevels(random, database, systems);
    AddDecorations(random, database, systems);
    AddPieces(random, database, systems);
    condition = CSearchCondition{};
    condition.maxDisplay = 1000000;
    ChooseLevels(random, condition);
    condition.weaponSlots = Pick(random, 0, 3);
    condition.fixed.weaponSlots = condition.weaponSlots;
    condition.minDefense = Pick(random, 0, 1) ? Pick(random, 20, 90) : 0;
    condition.fastSearch = Pick(random, 0, 3) == 0;
    FixSomething(random, database, condition);
}
