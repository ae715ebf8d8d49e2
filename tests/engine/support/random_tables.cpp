#include "engine/support/random_tables.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "engine/condition/group_key.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"

namespace {

constexpr int kSystems = 3; // three levels each, in order: low, high, minus

// What the tables and the condition are built from.
struct Shape {
    int systems = kSystems;
    int minChosen = 1;
    int lowThreshold[2] = {4, 8};
    int highThreshold[2] = {9, 13};
    int decos[2] = {3, 7};
    int leastPoints = -3; // of a piece in a system
};

int Pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

CDecoData* AnyDeco(std::mt19937& random, const CEquipDatabase& database) {
    return database.Decos()[Pick(random, 0, static_cast<int>(database.Decos().size()) - 1)];
}

void AddRecords(std::mt19937& random, const Shape& shape, CEquipDatabase& database) {
    for (int s = 0; s < shape.systems; ++s) {
        for (const int threshold :
             {Pick(random, shape.lowThreshold[0], shape.lowThreshold[1]),
              Pick(random, shape.highThreshold[0], shape.highThreshold[1]), -Pick(random, 2, 5)}) {
            CSkillData skill;
            skill.systemId = s;
            skill.threshold = static_cast<std::int8_t>(threshold);
            database.AddSkill(skill);
        }
    }
    for (int i = Pick(random, shape.decos[0], shape.decos[1]); i > 0; --i) {
        CDecoData deco;
        deco.size = Pick(random, 1, 3);
        deco.skillId[0] = Pick(random, 0, shape.systems - 1);
        deco.skillPoints[0] = Pick(random, 1, deco.size + 2);
        deco.skillId[1] = (deco.skillId[0] + Pick(random, 1, shape.systems - 1)) % shape.systems;
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
            // A piece names at most five systems, the doubling marker included.
            for (int s = 0; s < shape.systems && entry < 5; ++s) {
                if (Pick(random, 0, 2) != 0) {
                    piece.skillId[entry] = s;
                    // Now and then points that no key field holds.
                    const int beyond =
                        Pick(random, 0, 1) == 0 ? kKeyPointsMin - 1 : kKeyPointsMax + 1;
                    piece.skillPoints[entry++] =
                        Pick(random, 0, 59) == 0 ? beyond : Pick(random, shape.leastPoints, 5);
                }
            }
            database.AddArmor(slot, piece);
        }
    }
}

void FillCondition(std::mt19937& random, const Shape& shape, CEquipDatabase& database,
                   CSearchCondition& c) {
    c = CSearchCondition{};
    c.maxDisplay = 1000000;
    std::vector<int> order(shape.systems);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    c.skillCount = Pick(random, shape.minChosen, shape.systems);
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

void Build(std::mt19937& random, const Shape& shape, CEquipDatabase& database,
           CSearchCondition& condition) {
    database.Clear();
    for (int s = 0; s < shape.systems; ++s) {
        database.AddSkillSystem(std::string(1, static_cast<char>('a' + s)));
    }
    AddRecords(random, shape, database);
    FillCondition(random, shape, database, condition);
}

void BuildRandomTables(std::mt19937& random, CEquipDatabase& database,
                       CSearchCondition& condition) {
    Build(random, Shape{}, database, condition);
}

void BuildWideRandomTables(std::mt19937& random, int systems, CEquipDatabase& database,
                           CSearchCondition& condition) {
    Shape shape;
    shape.systems = std::clamp(systems, 6, kMaxChosenSkills);
    shape.minChosen = 6;
    shape.lowThreshold[0] = 1;
    shape.lowThreshold[1] = 2;
    shape.highThreshold[0] = 3;
    shape.highThreshold[1] = 6;
    shape.decos[0] = shape.systems / 2;
    shape.decos[1] = shape.systems;
    shape.leastPoints = -1;
    Build(random, shape, database, condition);
}
