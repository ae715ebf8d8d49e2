#include "engine/tables/equip_database.h"

#include <cstdio>
#include <cstring>

#include "engine/tables/skill_systems.h"
#include "engine/tables/table_parsers.h"
#include "platform/line_reader.h"
#include "platform/regular_file.h"

namespace {

constexpr const char* kArmorFiles[kSlotCount] = {
    "TEVREQUIP_HEAD.csv", "TEVREQUIP_BODY.csv", "TEVREQUIP_ARM.csv",
    "TEVREQUIP_WST.csv",  "TEVREQUIP_LEG.csv",
};
constexpr const char* kSkillFile = "SKILL_EQ.csv";
constexpr const char* kDecoFile = "TEVREQUIP_DECO.csv";
constexpr const char* kTableFiles[] = {kSkillFile,     kDecoFile,      kArmorFiles[0],
                                       kArmorFiles[1], kArmorFiles[2], kArmorFiles[3],
                                       kArmorFiles[4]};

// Counts the records of a file, stopping as soon as there are more than `limit`.
std::size_t CountRecords(std::FILE* file, std::size_t limit) {
    platform::LineReader reader(file);
    std::string piece;
    std::size_t records = 0;
    while (records <= limit && reader.Next(piece)) {
        records += RecordStart(piece.c_str()) != nullptr ? 1 : 0;
    }
    return records;
}

// Calls `onRecord(text)` for every line piece that is not a comment and takes the records from
// `budget`. False when the file cannot be opened or read, or holds more records than the budget
// has left. The records are counted before any is stored, so a refused file costs no memory.
template <typename OnRecord>
bool ForEachRecord(const std::string& path, std::size_t& budget, OnRecord onRecord) {
    platform::FileHandle file = platform::OpenRegularFile(path);
    if (!file) {
        return false;
    }
    const std::size_t records = CountRecords(file.get(), budget);
    if (records > budget || std::ferror(file.get())) {
        return false;
    }
    std::rewind(file.get());
    platform::LineReader reader(file.get());
    std::string piece;
    std::size_t stored = 0;
    // The file may have grown since it was counted; the count is what the budget allowed.
    while (stored < records && reader.Next(piece)) {
        if (const char* record = RecordStart(piece.c_str())) {
            ++stored;
            onRecord(record);
        }
    }
    budget -= stored;
    return true;
}

} // namespace

void CEquipDatabase::ClearTable(int table) {
    if (table < kSlotCount) {
        armor_[table].clear();
    } else if (table == kSkillTable) {
        skills_.clear();
    } else {
        decos_.clear();
    }
}

void CEquipDatabase::Clear() {
    for (int table = 0; table <= kDecoTable; ++table) {
        ClearTable(table);
    }
    armorStore_.clear();
    skillStore_.clear();
    decoStore_.clear();
    systems_.Clear();
}

int CEquipDatabase::AddSkillSystem(std::string_view name) {
    return systems_.FindOrAdd(name);
}

CSkillData& CEquipDatabase::AddSkill(const CSkillData& skill) {
    skills_.push_back(&skillStore_.emplace_back(skill));
    return *skills_.back();
}

CDecoData& CEquipDatabase::AddDeco(const CDecoData& deco) {
    decos_.push_back(&decoStore_.emplace_back(deco));
    return *decos_.back();
}

CEquipData& CEquipDatabase::AddArmor(int slot, const CEquipData& piece) {
    armor_[slot].push_back(&armorStore_.emplace_back(piece));
    return *armor_[slot].back();
}

std::span<const char* const> CEquipDatabase::TableFiles() {
    return kTableFiles;
}

int CEquipDatabase::LoadTables(const std::string& folder, int useBeforeData) {
    return LoadTablesFrom(folder + "data/", useBeforeData);
}

int CEquipDatabase::LoadTablesFrom(const std::string& folder, int useBeforeData) {
    Clear();
    std::size_t budget = kMaxRecords;
    const bool skillsRead = ForEachRecord(folder + kSkillFile, budget, [this](const char* line) {
        CSkillData skill;
        ParseSkillLine(line, skill, systems_);
        AddSkill(skill);
    });
    if (!skillsRead) {
        return 0;
    }
    const bool decosRead = ForEachRecord(folder + kDecoFile, budget, [this](const char* line) {
        CDecoData deco;
        ParseDecoLine(line, deco, systems_);
        AddDeco(deco);
    });
    if (!decosRead) {
        return 0;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const bool read = ForEachRecord(folder + kArmorFiles[slot], budget, [&](const char* line) {
            CEquipData piece;
            ParseArmorLine(line, piece, systems_);
            piece.kind = slot;
            piece.useBeforeData = useBeforeData;
            // A body piece that counts the body piece's points instead of its own counts its own:
            // the marker changes nothing there, and honoured it would count the body's
            // decorations twice.
            if (slot == kBody) {
                piece.bodyDoubling = 0;
            }
            AddArmor(slot, piece);
        });
        if (!read) {
            return 0;
        }
    }
    return 1;
}

void CEquipDatabase::SetUseBeforeData(int useBeforeData) {
    for (auto& table : armor_) {
        for (CEquipData* piece : table) {
            piece->useBeforeData = useBeforeData;
        }
    }
}

CEquipData* CEquipDatabase::FindArmor(int slot, const char* name) const {
    if (slot < 0 || slot >= kSlotCount) {
        return nullptr;
    }
    for (CEquipData* piece : armor_[slot]) {
        if (std::strncmp(piece->name, name, kNameSize) == 0) {
            return piece;
        }
    }
    return nullptr;
}

CDecoData* CEquipDatabase::FindDeco(const char* name) const {
    for (CDecoData* deco : decos_) {
        if (std::strncmp(deco->name, name, kNameSize) == 0) {
            return deco;
        }
    }
    return nullptr;
}
