#include "ui/extra_skills_dlg.h"

#include <algorithm>
#include <string>

#include "engine/condition/search_condition.h"
#include "res/dialog_141.h"
#include "ui/framework/report_list.h"
#include "ui/skill_row.h"

using namespace res::extra_skills;

namespace {

std::string FullHint(int limit) {
    return "選択スキルは" + std::to_string(limit) + "個で満杯です";
}
std::string FullText(int limit) {
    return "選択スキルは" + std::to_string(limit) + "個までです。これ以上追加できません";
}

} // namespace

CExtraSkillsDlg::CExtraSkillsDlg(const std::vector<CSkillData*>& skills, std::vector<int> rows,
                                 ExtraSkillsChooser chooser, ui::Prompter& prompter,
                                 QWidget* parent)
    : ui::CTemplateDialog(res::kDialog141, prompter, parent), skills_(skills),
      rows_(std::move(rows)), chooser_(std::move(chooser)) {
    OnClicked(kIdOk, [this] { OnClose(); });
    connect(Control<ui::CReportList>(kIdSkills), &ui::CReportList::itemDoubleClicked, this,
            [this] { OnDblclkSkills(); });
}

bool CExtraSkillsDlg::OnInitDialog() {
    auto* list = Control<ui::CReportList>(kIdSkills);
    list->InsertColumn(0, "系統", 70);
    list->InsertColumn(1, "スキル", 130);
    list->InsertColumn(2, "PT", 35, ui::CReportList::kRight);
    list->SetEmptyText("追加できるスキルはありません");
    ShowRows();
    return true;
}

void CExtraSkillsDlg::ShowRows() {
    auto* list = Control<ui::CReportList>(kIdSkills);
    list->DeleteAllItems();
    // The skill list shows the categories in their order and table order within each.
    std::stable_sort(rows_.begin(), rows_.end(), [this](int a, int b) {
        return skills_[static_cast<std::size_t>(a)]->category <
               skills_[static_cast<std::size_t>(b)]->category;
    });
    for (int index : rows_) {
        AddSkillRow(*list, index, *skills_[static_cast<std::size_t>(index)]);
    }
    SetText(kIdCount, "追加できるスキル " + std::to_string(rows_.size()) + "件");
    ShowHint();
}

void CExtraSkillsDlg::ShowHint() {
    SetText(kIdHint,
            chooser_.full() ? FullHint(chooser_.limit) : "ダブルクリックで選択スキルに追加");
}

void CExtraSkillsDlg::OnDblclkSkills() {
    const auto* list = Control<ui::CReportList>(kIdSkills);
    const int selected = list->GetSelectedRow();
    if (selected < 0 || recomputing_) {
        return;
    }
    if (chooser_.full()) {
        GetPrompter().MessageBox(FullText(chooser_.limit));
        return;
    }
    chooser_.add(static_cast<int>(list->GetItemData(selected)));
    if (chooser_.full()) {
        ShowHint();
        return;
    }
    // The levels listed were addable to the old condition; with the new level some may no
    // longer fit together with it.
    recomputing_ = true;
    Enable(kIdSkills, false);
    SetText(kIdCount, "追加できるスキルを調べ直しています");
    std::optional<std::vector<int>> rows = chooser_.recompute();
    recomputing_ = false;
    if (IsEnded()) {
        return;
    }
    Enable(kIdSkills, true);
    if (!rows) {
        EndDialog(ui::kIdCancel);
        return;
    }
    rows_ = std::move(*rows);
    ShowRows();
}

void CExtraSkillsDlg::OnClose() {
    if (recomputing_) {
        chooser_.abort();
    }
    EndDialog(ui::kIdOk);
}
