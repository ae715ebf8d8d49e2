#include "engine/support/medium_tables.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "engine/condition/group_key.h"
#include "engine/tables/sjis_text.h"

namespace {

int Pick(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

bool OneIn(std::mt19937& random, int n) {
    return Pick(random, 1, n) == 1;
}

// Three levels a system, in order: low, high, minus.
void AddLevels(std::mt19937& random, int systems, CEquipDatabase& database) {
    for (int s = 0; s < systems; ++s) {
        database.AddSkillSystem(std::string(1, static_cast<char>('a' + s)));
    }
    for (int s = 0; s < systems; ++s) {
        for (const int threshold :
             {Pick(random, 3, 10), Pick(random, 10, 16), -Pick(random, 1, 6)}) {
            CSkillData skill;
            skill.systemId = s;
            skill.threshold = static_cast<std::int8_t>(threshold);
            database.AddSkill(skill);
        }
    }
}

void AddDecorations(std::mt19937& random, int systems, CEquipDatabase& database) {
    for (int i = Pick(random, systems, 2 * systems + 2); i > 0; --i) {
        CDecoData deco;
        deco.size = Pick(random, 1, 3);
        deco.skillId[0] = Pick(random, 0, systems - 1);
        deco.skillPoints[0] = Pick(random, 1, deco.size + 2);
        if (!OneIn(random, 3)) {
            deco.skillId[1] = (deco.skillId[0] + Pick(random, 1, systems - 1)) % systems;
            deco.skillPoints[1] = OneIn(random, 3) ? Pick(random, 1, 2) : -Pick(random, 1, 4);
        }
        database.AddDeco(deco);
    }
}

CEquipData RandomPiece(std::mt19937& random, int slot, int systems, int doublingId) {
    CEquipData piece;
    piece.kind = slot;
    piece.slots = Pick(random, 0, 3);
    piece.defenseAfter = OneIn(random, 4) ? Pick(random, 1, 120) : Pick(random, 10, 40);
    piece.rarity = Pick(random, 0, kRarityCount - 1);
    for (int& resist : piece.resist) {
        resist = OneIn(random, 3) ? 0 : Pick(random, -6, 6);
    }
    if (OneIn(random, 15)) {
        (OneIn(random, 2) ? piece.job : piece.sex) = Pick(random, 1, 2);
    }
    int entry = 0;
    if (slot != kBody && OneIn(random, 8)) {
        piece.skillId[entry++] = doublingId;
        piece.bodyDoubling = 1;
    }
    std::vector<int> order(systems);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    for (int i = 0, systemsOnPiece = Pick(random, 2, 3); i < systemsOnPiece; ++i) {
        piece.skillId[entry] = order[static_cast<std::size_t>(i)];
        // Now and then points that no key field holds.
        piece.skillPoints[entry++] =
            OneIn(random, 80) ? kKeyPointsMax + 1
                              : (OneIn(random, 4) ? -Pick(random, 1, 4) : Pick(random, 1, 6));
    }
    return piece;
}

// Keeps the search within `most` combinations by dropping the last pieces of the largest slot.
void AddPieces(std::mt19937& random, int systems, int most, CEquipDatabase& database) {
    const int doublingId = database.AddSkillSystem(sjis::kBodyDoubling);
    int counts[kSlotCount];
    for (int& count : counts) {
        count = Pick(random, 5, 12);
    }
    const auto product = [&counts] {
        return std::accumulate(counts, counts + kSlotCount, 1, std::multiplies<int>());
    };
    while (product() > most) {
        --*std::max_element(counts, counts + kSlotCount);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int i = 0; i < counts[slot]; ++i) {
            database.AddArmor(slot, RandomPiece(random, slot, systems, doublingId));
        }
    }
}

void ChooseLevels(std::mt19937& random, int systems, CSearchCondition& c) {
    std::vector<int> order(systems);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    c.skillCount = std::min(Pick(random, 3, 5), systems);
    for (int k = 0; k < c.skillCount; ++k) {
        c.skillRows[k] = order[k] * 3 + (OneIn(random, 8) ? 2 : (OneIn(random, 3) ? 1 : 0));
    }
    if (OneIn(random, 4)) {
        c.excludedSkillRows[c.excludedSkillCount++] =
            c.skillRows[Pick(random, 0, c.skillCount - 1)];
    }
}

void Own(std::mt19937& random, CEquipDatabase& database, CSearchCondition& c) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (CEquipData* piece : database.Armor(slot)) {
            if (!OneIn(random, 3)) {
                c.owned[slot].push_back(piece);
            }
        }
    }
    for (CDecoData* deco : database.Decos()) {
        if (!OneIn(random, 4)) {
            c.ownedDecos.push_back(deco);
        }
    }
    c.ownedOnly = OneIn(random, 6);
}

CDecoData* AnyDeco(std::mt19937& random, const CEquipDatabase& database) {
    return database.Decos()[Pick(random, 0, static_cast<int>(database.Decos().size()) - 1)];
}

void FixAndExclude(std::mt19937& random, CEquipDatabase& database, CSearchCondition& c) {
    c.weaponSlots = c.fixed.weaponSlots = Pick(random, 0, 3);
    if (OneIn(random, 5)) {
        const int slot = Pick(random, 0, kSlotCount - 1);
        const auto& pieces = database.Armor(slot);
        CEquipData* piece = pieces[Pick(random, 0, static_cast<int>(pieces.size()) - 1)];
        c.fixed.pieces[slot] = piece;
        for (int entry = 0, used = 0; entry < 2; ++entry) {
            CDecoData* deco = AnyDeco(random, database);
            if (OneIn(random, 2) && used + deco->size <= piece->slots) {
                c.fixed.decos[slot][entry] = deco;
                used += deco->size;
            } else {
                break;
            }
        }
    }
    if (CDecoData* deco = AnyDeco(random, database);
        deco->size <= c.weaponSlots && OneIn(random, 4)) {
        c.fixed.decos[kWeaponPosition][0] = deco;
    }
    if (OneIn(random, 3)) {
        const int slot = Pick(random, 0, kSlotCount - 1);
        c.excluded[slot].push_back(database.Armor(slot)[0]);
    }
    for (CDecoData* deco : database.Decos()) {
        if (OneIn(random, 10)) {
            c.excludedDecos.push_back(deco);
        }
    }
    c.excludeDoubling = OneIn(random, 8);
    c.rarityAllowed[Pick(random, 0, kRarityCount - 1)] = OneIn(random, 2);
}

} // namespace

void BuildMediumRandomTables(std::mt19937& random, int mostCombinations, CEquipDatabase& database,
                             CSearchCondition& condition) {
    database.Clear();
    const int systems = Pick(random, 4, 8);
    AddLevels(random, systems, database);
    AddDecorations(random, systems, database);
    AddPieces(random, systems, mostCombinations, database);
    CSearchCondition& c = condition = CSearchCondition{};
    c.maxDisplay = 10000000;
    c.maxCalc = 10000000;
    c.job = Pick(random, 1, 2);
    c.sex = Pick(random, 1, 2);
    ChooseLevels(random, systems, c);
    Own(random, database, c);
    FixAndExclude(random, database, c);
    c.minDefense = OneIn(random, 2) ? Pick(random, 60, 220) : 0;
    c.fastSearch = OneIn(random, 4);
}
