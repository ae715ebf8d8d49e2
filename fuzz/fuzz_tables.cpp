// One data table per input: the first byte picks which of the seven files the rest becomes; the
// other six are the bundled ones, the armour tables cut to their first pieces. The tables are
// read through the loader itself, so the text-mode line reading, the comment rule and every
// column parser take part; then a small search for skills of the systems the input names, a
// refine and the skill summary of every set show that nothing read can upset the arithmetic.

#include <climits>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/tables/equip_database.h"
#include "engine/tables/skill_systems.h"
#include "engine/tables/table_parsers.h"
#include "fuzz_support.h"
#include "set_check.h"

namespace {

constexpr const char* kTableFiles[] = {
    "TEVREQUIP_HEAD.csv", "TEVREQUIP_BODY.csv", "TEVREQUIP_ARM.csv",  "TEVREQUIP_WST.csv",
    "TEVREQUIP_LEG.csv",  "SKILL_EQ.csv",       "TEVREQUIP_DECO.csv",
};
constexpr std::size_t kTableCount = sizeof kTableFiles / sizeof kTableFiles[0];
constexpr int kBasePieces = 8;
constexpr int kBaseDecos = 60;
// Past this many pieces a slot, a search that meets nothing could run for seconds.
constexpr std::size_t kMaxPiecesPerSlot = 24;

bool Terminated(const char* text, std::size_t capacity) {
    return strnlen(text, capacity) < capacity;
}

bool KnownSystem(const CEquipDatabase& database, int id) {
    return id >= 0 && id < database.SkillSystems().Count();
}

bool Within(int value, ValueRange range) {
    return value >= range.min && value <= range.max;
}

void CheckSkills(const CEquipDatabase& database) {
    for (const CSkillData* skill : database.Skills()) {
        fuzz::Check(Terminated(skill->skillName, kNameSize) &&
                        Terminated(skill->systemName, kNameSize),
                    "skill name without terminator");
        fuzz::Check(KnownSystem(database, skill->systemId), "skill with an unregistered system");
        fuzz::Check(skill->category >= 0 && skill->category <= 4, "skill category out of range");
    }
}

void CheckDecos(const CEquipDatabase& database) {
    for (const CDecoData* deco : database.Decos()) {
        fuzz::Check(Terminated(deco->name, kNameSize), "decoration name without terminator");
        fuzz::Check(KnownSystem(database, deco->skillId[0]) &&
                        KnownSystem(database, deco->skillId[1]),
                    "decoration with an unregistered system");
        fuzz::Check(deco->rankTier >= 0 && deco->rankTier <= 2 && deco->skillIndex == -1,
                    "decoration tier or skill index out of range");
        fuzz::Check(Within(deco->size, kSlotRange) && Within(deco->rarity, kRarityRange) &&
                        Within(deco->skillPoints[0], kDecoPointsRange) &&
                        Within(deco->skillPoints[1], kDecoPointsRange),
                    "decoration number out of its range");
    }
}

void CheckArmor(const CEquipDatabase& database, int useBeforeData) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (const CEquipData* piece : database.Armor(slot)) {
            fuzz::Check(piece->kind == slot && piece->useBeforeData == useBeforeData,
                        "piece with a wrong kind or defence flag");
            fuzz::Check(Terminated(piece->name, kNameSize), "piece name without terminator");
            fuzz::Check(Within(piece->slots, kSlotRange) && Within(piece->rarity, kRarityRange) &&
                            Within(piece->defenseBefore, kDefenseRange) &&
                            Within(piece->defenseAfter, kDefenseRange),
                        "piece number out of its range");
            for (int i = 0; i < 5; ++i) {
                fuzz::Check(KnownSystem(database, piece->skillId[i]),
                            "piece with an unregistered system");
                fuzz::Check(Terminated(piece->materialName[i], kMaterialNameSize),
                            "material name without terminator");
                fuzz::Check(Within(piece->resist[i], kResistRange) &&
                                Within(piece->skillPoints[i], kArmorPointsRange) &&
                                Within(piece->materialCount[i], kMaterialCountRange),
                            "piece number out of its range");
            }
        }
    }
}

// The bundled table, the armour and decoration tables cut to their first records: loading them
// takes most of a run.
std::string BaseTable(std::size_t table) {
    std::ifstream in(std::string(KESTROVA_DATA_DIR) + kTableFiles[table], std::ios::binary);
    const int limit = table < kSlotCount                    ? kBasePieces
                      : table == CEquipDatabase::kDecoTable ? kBaseDecos
                                                            : INT_MAX;
    std::string text;
    int records = 0;
    for (std::string line; std::getline(in, line);) {
        records += RecordStart(line.c_str()) != nullptr ? 1 : 0;
        if (records > limit) {
            break;
        }
        text += line + "\n";
    }
    return text;
}

const std::string* BaseTables() {
    static std::string tables[kTableCount];
    static const bool made = [] {
        for (std::size_t table = 0; table < kTableCount; ++table) {
            tables[table] = BaseTable(table);
        }
        return true;
    }();
    (void)made;
    return tables;
}

void WriteTable(const std::string& folder, std::size_t table, const std::string& text) {
    fuzz::WriteFile(folder + kTableFiles[table], reinterpret_cast<const std::uint8_t*>(text.data()),
                    text.size());
}

// The first skill row of the system, or `fallback`.
int RowOf(const CEquipDatabase& database, int systemId, int fallback) {
    const auto& skills = database.Skills();
    for (std::size_t row = 0; row < skills.size(); ++row) {
        if (skills[row]->systemId == systemId) {
            return static_cast<int>(row);
        }
    }
    return fallback;
}

// Two systems the input itself names: of its first and its last record.
void SystemsNamed(const CEquipDatabase& database, std::size_t table, int (&systems)[2]) {
    if (table < kSlotCount && !database.Armor(static_cast<int>(table)).empty()) {
        const auto& pieces = database.Armor(static_cast<int>(table));
        systems[0] = pieces.front()->skillId[0];
        systems[1] = pieces.back()->skillId[1];
    } else if (table == CEquipDatabase::kDecoTable && !database.Decos().empty()) {
        systems[0] = database.Decos().front()->skillId[0];
        systems[1] = database.Decos().back()->skillId[1];
    } else if (!database.Skills().empty()) {
        systems[0] = database.Skills().front()->systemId;
        systems[1] = database.Skills().back()->systemId;
    }
}

bool SmallEnough(const CEquipDatabase& database) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (database.Armor(slot).size() > kMaxPiecesPerSlot) {
            return false;
        }
    }
    return database.Skills().size() >= 2;
}

// Both skills wanted, or the second avoided; a three-slot weapon gives decorations room.
void SearchNamedSystems(CSkillSearch& engine, std::size_t table, std::uint8_t control) {
    int systems[2] = {-1, -1};
    SystemsNamed(engine.database, table, systems);
    CSearchCondition condition;
    condition.skillCount = 2;
    condition.skillRows[0] = RowOf(engine.database, systems[0], 0);
    condition.skillRows[1] = RowOf(engine.database, systems[1], 1);
    if (engine.database.Skills()[condition.skillRows[0]]->systemId ==
        engine.database.Skills()[condition.skillRows[1]]->systemId) {
        condition.skillCount = 1;
    } else if ((control & 1) != 0) {
        condition.excludedSkillCount = 1;
        condition.excludedSkillRows[0] = condition.skillRows[1];
    }
    condition.weaponSlots = 3;
    condition.fixed.weaponSlots = 3;
    condition.maxDisplay = 8;
    condition.maxCalc = 200;
    CSearchCondition refine = condition;
    refine.skillCount = 1;
    refine.excludedSkillCount = 0;
    fuzz::SearchAndRefine(engine, condition, refine);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t chosen = data[0] % kTableCount;
    const int useBeforeData = (data[0] / kTableCount) % 2;
    const std::string folder = fuzz::ScratchFolder();
    static const bool written = [&folder] {
        for (std::size_t table = 0; table < kTableCount; ++table) {
            WriteTable(folder, table, BaseTables()[table]);
        }
        return true;
    }();
    (void)written;
    fuzz::WriteFile(folder + kTableFiles[chosen], data + 1, size - 1);
    {
        CSkillSearch engine(nullptr, nullptr);
        CEquipDatabase& database = engine.database;
        fuzz::Check(database.LoadTablesFrom(folder, useBeforeData) == 1, "table load failed");
        CheckSkills(database);
        CheckDecos(database);
        CheckArmor(database, useBeforeData);
        if (SmallEnough(database)) {
            SearchNamedSystems(engine, chosen, data[0] / (2 * kTableCount));
        }
    }
    WriteTable(folder, chosen, BaseTables()[chosen]);
    return 0;
}
