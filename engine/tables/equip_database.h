#pragma once

#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/tables/records.h"
#include "engine/tables/skill_systems.h"

// The seven loaded tables. Records live here for the whole run; everything else refers to them by
// pointer, and pointer identity is what tells two pieces apart.
class CEquipDatabase {
public:
    static constexpr int kSkillTable = 5;
    static constexpr int kDecoTable = 6;
    // Only a guard on memory, shared by the seven tables: an armour record takes some 250 bytes,
    // so tables at the bound still fit in some 70 MB, while a game's tables hold a few thousand
    // records. Every line that is not a comment is a record, so without it a file of blank lines
    // would cost memory in proportion to its length. A table that would pass the bound is refused
    // unread.
    static constexpr std::size_t kMaxRecords = std::size_t{1} << 18;

    CEquipDatabase() = default;
    CEquipDatabase(const CEquipDatabase&) = delete;
    CEquipDatabase& operator=(const CEquipDatabase&) = delete;

    // Reads the seven tables from `folder` + "data/". Returns 1 when all were read, 0 when one is
    // not a regular file that can be read, or would take the tables past kMaxRecords records;
    // that table is left empty, the tables read before it keep their records, the later ones stay
    // empty. The skill-system names start afresh with every load.
    int LoadTables(const std::string& folder, int useBeforeData);
    // The same from a data folder named directly (ending in '/').
    int LoadTablesFrom(const std::string& dataFolder, int useBeforeData);
    // The file names of the seven tables, as a data folder holds them.
    static std::span<const char* const> TableFiles();

    const std::vector<CEquipData*>& Armor(int slot) const { return armor_[slot]; }
    const std::vector<CSkillData*>& Skills() const { return skills_; }
    const std::vector<CDecoData*>& Decos() const { return decos_; }
    const CSkillSystems& SkillSystems() const { return systems_; }

    // Rewrites the defence-data flag of every armour piece.
    void SetUseBeforeData(int useBeforeData);

    // First record of the table whose name equals `name` byte for byte, or null.
    CEquipData* FindArmor(int slot, const char* name) const;
    CDecoData* FindDeco(const char* name) const;

    // Building blocks of the loader, also used by tests that assemble tables by hand. Clear()
    // forgets the skill-system names too.
    void Clear();
    int AddSkillSystem(std::string_view name);
    CSkillData& AddSkill(const CSkillData& skill);
    CDecoData& AddDeco(const CDecoData& deco);
    CEquipData& AddArmor(int slot, const CEquipData& piece);

private:
    void ClearTable(int table);

    std::deque<CEquipData> armorStore_;
    std::deque<CSkillData> skillStore_;
    std::deque<CDecoData> decoStore_;
    std::vector<CEquipData*> armor_[kSlotCount];
    std::vector<CSkillData*> skills_;
    std::vector<CDecoData*> decos_;
    CSkillSystems systems_;
};
