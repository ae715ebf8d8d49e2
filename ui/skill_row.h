#pragma once

#include "engine/tables/records.h"
#include "ui/framework/report_list.h"

// Appends a skill-table row as the skill lists show it: system, activated skill, points; the item
// data holds the row's index.
void AddSkillRow(ui::CReportList& list, int index, const CSkillData& skill);
