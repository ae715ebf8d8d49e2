#pragma once

#include <string_view>

// The process-wide table of skill-system names. A system's id is the position of its name, handed
// out in order of first appearance; ids stay stable until the table is cleared for a new load.

int FindOrAddSkillSystem(std::string_view name);
// The name of a system, or "不明" (Shift-JIS) for an id outside the table.
const char* SkillSystemName(int id);
int SkillSystemCount();
void ClearSkillSystems();
