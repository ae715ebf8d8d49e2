#include "ui/extra_skills_dlg.h"

#include <algorithm>
#include <string>

#include "res/dialog_141.h"
#include "ui/framework/report_list.h"
#include "ui/skill_row.h"

using namespace res::extra_skills;

CExtraSkillsDlg::CExtraSkillsDlg(const std::vector<CSkillData*>& skills, std::vector<int> rows,
                                 std::function<void(int skillIndex)> add, ui::Prompter& prompter,
                                 QWidget* parent)
    : ui::CTemplateDialog(res::kDialog141, prompter, parent), skills_(skills),
      rows_(std::move(rows)), add_(std::move(add)) {
    OnClicked(kIdOk, [this] { EndDialog(ui::kIdOk); });
    connect(Control<ui::CReportList>(kIdSkills), &ui::CReportList::itemDoubleClicked, this,
            [this] { OnDblclkSkills(); });
}

bool CExtraSkillsDlg::OnInitDialog() {
    auto* list = Control<ui::CReportList>(kIdSkills);
    list->InsertColumn(0, "系統", 70);
    list->InsertColumn(1, "スキル", 130);
    list->InsertColumn(2, "PT", 35, ui::CReportList::kRight);
    list->SetEmptyText("追加できるスキルはありません");
    // The skill list shows the categories in their order and table order within each.
    std::stable_sort(rows_.begin(), rows_.end(), [this](int a, int b) {
        return skills_[static_cast<std::size_t>(a)]->category <
               skills_[static_cast<std::size_t>(b)]->category;
    });
    for (int index : rows_) {
        AddSkillRow(*list, index, *skills_[static_cast<std::size_t>(index)]);
    }
    SetText(kIdCount, "追加できるスキル " + std::to_string(rows_.size()) + "件");
    return true;
}

void CExtraSkillsDlg::OnDblclkSkills() {
    const auto* list = Control<ui::CReportList>(kIdSkills);
    const int selected = list->GetSelectedRow();
    if (selected >= 0) {
        add_(static_cast<int>(list->GetItemData(selected)));
    }
}
