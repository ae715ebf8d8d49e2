// The search itself on small tables made from the input. The first kControlBytes bytes describe
// the condition; the rest is the seven tables, in the order skills, decorations, head, body, arm,
// waist, leg, separated by kTableSeparator bytes (missing ones are empty). The tables go through
// the loader, so they hold only what a table file can give. Every set the search lists, and every
// set a refine keeps, must pass the skill summary's check.

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/search/skill_search.h"
#include "fuzz_support.h"
#include "set_check.h"

namespace {

constexpr std::size_t kControlBytes = 12;
constexpr std::uint8_t kTableSeparator = 0x1E;
constexpr const char* kTableFiles[] = {
    "SKILL_EQ.csv",      "TEVREQUIP_DECO.csv", "TEVREQUIP_HEAD.csv", "TEVREQUIP_BODY.csv",
    "TEVREQUIP_ARM.csv", "TEVREQUIP_WST.csv",  "TEVREQUIP_LEG.csv",
};
// Past this many pieces a slot, a search that meets nothing could run for seconds.
constexpr std::size_t kMaxPiecesPerSlot = 10;

void WriteTables(const std::string& folder, const std::uint8_t* data, std::size_t size) {
    std::size_t start = 0;
    for (const char* file : kTableFiles) {
        const std::uint8_t* end = std::find(data + start, data + size, kTableSeparator);
        const std::size_t stop = static_cast<std::size_t>(end - data);
        fuzz::WriteFile(folder + file, data + start, stop - start);
        start = std::min(stop + 1, size);
    }
}

bool SmallEnough(const CEquipDatabase& database) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (database.Armor(slot).size() > kMaxPiecesPerSlot) {
            return false;
        }
    }
    return !database.Skills().empty();
}

// Adds the skill row picked by `byte` unless a row of its skill system is chosen already, as the
// window and the CLI allow one level a system.
void Choose(CSearchCondition& condition, const CEquipDatabase& database, std::uint8_t byte,
            bool avoid) {
    const auto& skills = database.Skills();
    const int row = byte % static_cast<int>(skills.size());
    for (int k = 0; k < condition.skillCount; ++k) {
        if (skills[condition.skillRows[k]]->systemId == skills[row]->systemId) {
            return;
        }
    }
    condition.skillRows[condition.skillCount++] = row;
    if (avoid) {
        condition.excludedSkillRows[condition.excludedSkillCount++] = row;
    }
}

// A fixed piece with one decoration, and a decoration fixed into the weapon.
void Fix(CSearchCondition& condition, const CEquipDatabase& database, std::uint8_t how,
         std::uint8_t which) {
    const int slot = how % kSlotCount;
    const auto& pieces = database.Armor(slot);
    const auto& decos = database.Decos();
    if (pieces.empty()) {
        return;
    }
    condition.fixed.pieces[slot] = pieces[which % pieces.size()];
    if (!decos.empty()) {
        condition.fixed.AddDeco(slot, decos[(how >> 3) % decos.size()]);
        condition.fixed.AddDeco(kWeaponPosition, decos[which % decos.size()]);
    }
}

CSearchCondition Condition(const std::uint8_t* c, const CEquipDatabase& database) {
    CSearchCondition condition;
    condition.job = 1 + (c[0] / 5) % 2;
    condition.sex = 1 + (c[0] / 10) % 2;
    condition.weaponSlots = (c[0] / 20) % 4;
    condition.fixed.weaponSlots = condition.weaponSlots;
    condition.fastSearch = (c[0] / 80) % 2;
    condition.excludeDoubling = (c[0] / 160) % 2;
    const int wanted = 1 + c[0] % 5;
    for (int k = 0; k < wanted; ++k) {
        // The first pick is always wanted: avoided skills alone cannot be searched for.
        Choose(condition, database, c[1 + k], k > 0 && ((c[6] >> k) & 1) != 0);
    }
    condition.minDefense = (c[7] & 0x40) != 0 ? (c[7] & 0x3F) * 4 : 0;
    condition.exactFitting = (c[7] & 0x80) != 0 ? 1 : 0;
    condition.maxDisplay = 1 + c[8] % 40;
    condition.maxCalc = 1 + c[9] * 4u;
    if ((c[9] & 0x80) != 0) {
        condition.rarityAllowed[c[9] % kRarityCount] = 0;
    }
    if ((c[10] & 0x80) != 0) {
        Fix(condition, database, c[10], c[11]);
    }
    return condition;
}

// Up to two further skills on the sets found, with the same character, weapon and fitting.
CSearchCondition RefineCondition(const std::uint8_t* c, const CSearchCondition& search,
                                 const CEquipDatabase& database) {
    CSearchCondition refine;
    refine.job = search.job;
    refine.sex = search.sex;
    refine.weaponSlots = search.weaponSlots;
    refine.minDefense = search.minDefense;
    refine.exactFitting = search.exactFitting;
    for (int k = 0; k < c[11] % 3; ++k) {
        Choose(refine, database, c[5 - k], k == 1 && (c[6] & 1) != 0);
    }
    return refine;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kControlBytes) {
        return 0;
    }
    const std::string folder = fuzz::ScratchFolder() + "search/";
    static const bool made = (fuzz::MakeFolder(folder), true);
    (void)made;
    WriteTables(folder, data + kControlBytes, size - kControlBytes);
    {
        CSkillSearch engine(nullptr, nullptr);
        fuzz::Check(engine.database.LoadTablesFrom(folder, data[0] & 1) == 1, "table load failed");
        if (SmallEnough(engine.database)) {
            const CSearchCondition condition = Condition(data, engine.database);
            fuzz::SearchAndRefine(engine, condition,
                                  RefineCondition(data, condition, engine.database));
        }
    }
    return 0;
}
