// One data table per input: the first byte picks which of the seven files the rest becomes; the
// other six are empty. The tables are read through the loader itself, so the text-mode line
// reading, the comment rule and every column parser take part.

#include <cstring>
#include <string>

#include "engine/equip_database.h"
#include "engine/skill_systems.h"
#include "fuzz_support.h"

namespace {

constexpr const char* kTableFiles[] = {
    "TEVREQUIP_HEAD.csv", "TEVREQUIP_BODY.csv", "TEVREQUIP_ARM.csv",  "TEVREQUIP_WST.csv",
    "TEVREQUIP_LEG.csv",  "SKILL_EQ.csv",       "TEVREQUIP_DECO.csv",
};
constexpr std::size_t kTableCount = sizeof kTableFiles / sizeof kTableFiles[0];

bool Terminated(const char* text, std::size_t capacity) {
    return strnlen(text, capacity) < capacity;
}

bool KnownSystem(int id) {
    return id >= 0 && id < SkillSystemCount();
}

void CheckSkills(const CEquipDatabase& database) {
    for (const CSkillData* skill : database.Skills()) {
        fuzz::Check(Terminated(skill->skillName, kNameSize) &&
                        Terminated(skill->systemName, kNameSize),
                    "skill name without terminator");
        fuzz::Check(KnownSystem(skill->systemId), "skill with an unregistered system");
        fuzz::Check(skill->category >= 0 && skill->category <= 4, "skill category out of range");
    }
}

void CheckDecos(const CEquipDatabase& database) {
    for (const CDecoData* deco : database.Decos()) {
        fuzz::Check(Terminated(deco->name, kNameSize), "decoration name without terminator");
        fuzz::Check(KnownSystem(deco->skillId[0]) && KnownSystem(deco->skillId[1]),
                    "decoration with an unregistered system");
        fuzz::Check(deco->rankTier >= 0 && deco->rankTier <= 2 && deco->skillIndex == -1,
                    "decoration tier or skill index out of range");
    }
}

void CheckArmor(const CEquipDatabase& database, int useBeforeData) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (const CEquipData* piece : database.Armor(slot)) {
            fuzz::Check(piece->kind == slot && piece->useBeforeData == useBeforeData,
                        "piece with a wrong kind or defence flag");
            fuzz::Check(Terminated(piece->name, kNameSize), "piece name without terminator");
            for (int i = 0; i < 5; ++i) {
                fuzz::Check(KnownSystem(piece->skillId[i]), "piece with an unregistered system");
                fuzz::Check(Terminated(piece->materialName[i], kMaterialNameSize),
                            "material name without terminator");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t chosen = data[0] % kTableCount;
    const int useBeforeData = (data[0] / kTableCount) % 2;
    const std::string folder = fuzz::ScratchFolder();
    for (std::size_t table = 0; table < kTableCount; ++table) {
        const bool picked = table == chosen;
        fuzz::WriteFile(folder + kTableFiles[table], data + 1, picked ? size - 1 : 0);
    }
    {
        CEquipDatabase database;
        fuzz::Check(database.LoadTablesFrom(folder, useBeforeData) == 1, "table load failed");
        CheckSkills(database);
        CheckDecos(database);
        CheckArmor(database, useBeforeData);
    }
    ClearSkillSystems();
    return 0;
}
