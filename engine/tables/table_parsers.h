#pragma once

#include "engine/tables/records.h"
#include "engine/tables/skill_systems.h"

// Parsers of one data-table line (a NUL-terminated piece of at most 511 bytes). Skill-system
// names are registered in `systems` as they are met.
void ParseSkillLine(const char* line, CSkillData& skill, CSkillSystems& systems);
void ParseDecoLine(const char* line, CDecoData& deco, CSkillSystems& systems);
void ParseArmorLine(const char* line, CEquipData& piece, CSkillSystems& systems);

// Leading spaces are skipped; a line whose first other character is '#' is a comment. Returns
// the start of the record text, or null for a comment.
const char* RecordStart(const char* line);

// The numbers a record can hold. A number outside its range is clamped to the nearest bound as
// the line is read, so that no sum, product or packed key built from the tables can overflow.
// Armour points stay within what a group key's 5-bit field holds, so a piece's key always says
// exactly what the piece carries. Decoration points never enter a key field; their bound only
// keeps every sum small (18 decorations, the body's counted up to five times). Sex, class and
// the skill rows' class filter are only compared, never summed: other values are kept and match
// no character.
struct ValueRange {
    int min;
    int max;
};
constexpr ValueRange kRarityRange{0, 10};
constexpr ValueRange kSlotRange{0, 3}; // armour slots and decoration sizes
constexpr ValueRange kDefenseRange{0, 9999};
constexpr ValueRange kResistRange{-99, 99};
constexpr ValueRange kArmorPointsRange{-16, 15};
constexpr ValueRange kDecoPointsRange{-99, 99};
constexpr ValueRange kMaterialCountRange{0, 99};
