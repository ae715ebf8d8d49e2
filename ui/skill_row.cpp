#include "ui/skill_row.h"

#include <string>

void AddSkillRow(ui::CReportList& list, int index, const CSkillData& skill) {
    const int row = list.InsertItem(list.GetItemCount(), skill.systemName);
    list.SetItemText(row, 1, skill.skillName);
    list.SetItemText(row, 2, std::to_string(static_cast<int>(skill.threshold)));
    list.SetItemData(row, static_cast<std::uintptr_t>(index));
}
