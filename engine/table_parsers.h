#pragma once

#include "engine/records.h"

// Parsers of one data-table line (a NUL-terminated piece of at most 511 bytes). Skill-system
// names are registered in the name table as they are met.
void ParseSkillLine(const char* line, CSkillData& skill);
void ParseDecoLine(const char* line, CDecoData& deco);
void ParseArmorLine(const char* line, CEquipData& piece);

// Leading spaces are skipped; a line whose first other character is '#' is a comment. Returns
// the start of the record text, or null for a comment.
const char* RecordStart(const char* line);
