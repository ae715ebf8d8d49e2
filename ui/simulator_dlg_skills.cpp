#include <QComboBox>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "res/dialog_102.h"
#include "ui/simulator_dlg.h"
#include "ui/skill_row.h"

using namespace res;

namespace {

constexpr int kCategoryAll = -2;
constexpr int kCategoryRecent = -1;

const char* const kCategoryNames[] = {"すべて",   "最近使ったスキル", "攻撃重視", "生存重視",
                                      "サポート", "その他",           "マイナス"};

std::string PointsText(const CSkillData& skill) {
    return std::to_string(static_cast<int>(skill.threshold));
}

} // namespace

void CSimulatorDlg::InitSkillControls() {
    auto* combo = Control<QComboBox>(kIdCategory);
    for (const char* name : kCategoryNames) {
        combo->addItem(QString::fromUtf8(name));
    }
    combo->setCurrentIndex(kCategoryRecent + 2);

    auto* skills = Control<ui::CReportList>(kIdSkillList);
    skills->InsertColumn(0, "系列", 70);
    skills->InsertColumn(1, "スキル", 130);
    skills->InsertColumn(2, "PT", 35, ui::CReportList::kRight);
    FillSkillList();
    // Before the first search the recent list is empty and a new player would face an empty list.
    if (skills->GetItemCount() == 0) {
        combo->setCurrentIndex(kCategoryAll + 2);
        FillSkillList();
    }

    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    chosen->InsertColumn(kChosenExcluded, "除", 28);
    chosen->InsertColumn(kChosenSystem, "系列", 70);
    chosen->InsertColumn(kChosenSkill, "スキル", 130);
    chosen->InsertColumn(kChosenPoints, "PT", 30, ui::CReportList::kRight);
}

void CSimulatorDlg::RestoreChosenSkills() {
    // Config.dat may come from other tables: indices that do not fit them, and repeats, are
    // left out rather than shown as some other skill.
    std::vector<int> indices(m_config.m_nSkills,
                             m_config.m_nSkills +
                                 std::clamp(m_config.m_nSkillCount, 0, kMaxRuleFittingSkills));
    // Rows past the fifth come back only after a full first five, and with the complete search,
    // the one that takes them; the check box is restored after the list.
    if (static_cast<int>(indices.size()) == kMaxRuleFittingSkills &&
        m_config.m_bExactFitting != 0) {
        indices.insert(indices.end(), std::begin(m_config.m_nMoreSkills),
                       std::end(m_config.m_nMoreSkills));
    }
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    for (const int index : indices) {
        bool repeated = false;
        for (int row = 0; row < chosen->GetItemCount(); ++row) {
            repeated = repeated || static_cast<int>(chosen->GetItemData(row)) == index;
        }
        if (IsSkillIndex(index) && !repeated) {
            InsertChosenSkill(chosen->GetItemCount(), index);
        }
    }
}

bool CSimulatorDlg::IsSkillIndex(int skillIndex) const {
    return skillIndex >= 0 && skillIndex < static_cast<int>(m_search.database.Skills().size());
}

int CSimulatorDlg::CurrentWeaponType() const {
    return IsChecked(kIdBlade) ? 1 : 2;
}

void CSimulatorDlg::FillSkillList() {
    const int category = Control<QComboBox>(kIdCategory)->currentIndex() - 2;
    auto* list = Control<ui::CReportList>(kIdSkillList);
    list->DeleteAllItems();
    const int weapon = CurrentWeaponType();
    const auto& skills = m_search.database.Skills();
    if (category == kCategoryRecent) {
        const auto& recent = m_config.m_recent[weapon - 1].Values();
        for (auto it = recent.rbegin(); it != recent.rend(); ++it) {
            if (IsSkillIndex(*it)) {
                AddSkillRow(*list, *it, *skills[static_cast<std::size_t>(*it)]);
            }
        }
        return;
    }
    for (std::size_t i = 0; i < skills.size(); ++i) {
        const CSkillData& skill = *skills[i];
        const bool inCategory = category == kCategoryAll || skill.category == category;
        const bool forWeapon = skill.jobFilter == 0 || skill.jobFilter == weapon;
        if (inCategory && forWeapon) {
            AddSkillRow(*list, static_cast<int>(i), skill);
        }
    }
}

void CSimulatorDlg::OnCbnSelchangeCategory() {
    FillSkillList();
}

void CSimulatorDlg::OnBnClickedWeaponType() {
    FillSkillList();
}

void CSimulatorDlg::OnKeydownSkillList(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        OnDblclkSkillList();
    }
}

void CSimulatorDlg::OnDblclkSkillList() {
    const auto* list = Control<ui::CReportList>(kIdSkillList);
    const int selected = list->GetSelectedRow();
    if (selected < 0) {
        return;
    }
    AddChosenSkill(static_cast<int>(list->GetItemData(selected)));
}

void CSimulatorDlg::AddChosenSkill(int index) {
    if (!IsSkillIndex(index)) {
        return;
    }
    const auto& skills = m_search.database.Skills();
    const int systemId = skills[static_cast<std::size_t>(index)]->systemId;

    // A chosen level of the same system gives way to the new one. Every row is examined, also
    // the one that moves up into a deleted row's place, so a repeated index is always seen.
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    for (int row = 0; row < chosen->GetItemCount();) {
        const int rowIndex = static_cast<int>(chosen->GetItemData(row));
        if (rowIndex == index) {
            return;
        }
        if (IsSkillIndex(rowIndex) &&
            skills[static_cast<std::size_t>(rowIndex)]->systemId == systemId) {
            chosen->DeleteItem(row);
        } else {
            ++row;
        }
    }
    if (chosen->GetItemCount() >= ChosenSkillLimit()) {
        return;
    }
    InsertChosenSkill(chosen->GetItemCount(), index);
}

int CSimulatorDlg::AppendChosenSkill(int skillIndex, std::string_view systemName,
                                     std::string_view skillName, std::string_view points) {
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    const int row = chosen->InsertItem(chosen->GetItemCount(), "");
    chosen->SetItemText(row, kChosenSystem, systemName);
    chosen->SetItemText(row, kChosenSkill, skillName);
    chosen->SetItemText(row, kChosenPoints, points);
    chosen->SetItemData(row, static_cast<std::uintptr_t>(skillIndex));
    // A minus skill is added as one that must not become active.
    if (std::atoi(std::string(points).c_str()) < 0) {
        chosen->SetCheck(row, true);
    }
    return row;
}

int CSimulatorDlg::InsertChosenSkill(int row, int skillIndex) {
    if (!IsSkillIndex(skillIndex)) {
        return -1;
    }
    const CSkillData& skill = *m_search.database.Skills()[static_cast<std::size_t>(skillIndex)];
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    const int at = chosen->InsertItem(row, "");
    chosen->SetItemText(at, kChosenSystem, skill.systemName);
    chosen->SetItemText(at, kChosenSkill, skill.skillName);
    chosen->SetItemText(at, kChosenPoints, PointsText(skill));
    chosen->SetItemData(at, static_cast<std::uintptr_t>(skillIndex));
    if (skill.threshold < 0) {
        chosen->SetCheck(at, true);
    }
    return at;
}

void CSimulatorDlg::OnDblclkChosenSkills() {
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    const int selected = chosen->GetSelectedRow();
    if (selected >= 0) {
        chosen->DeleteItem(selected);
    }
}

void CSimulatorDlg::OnKeydownChosenSkills(int key) {
    if (key == Qt::Key_Delete) {
        OnDblclkChosenSkills();
    }
}

int CSimulatorDlg::ChosenSkillLimit() const {
    return IsChecked(kIdExactFitting) ? kMaxChosenSkills : kMaxRuleFittingSkills;
}

// The rule-based fitting takes five rows: the first five stay, and the player is told.
void CSimulatorDlg::OnBnClickedExactFitting() {
    auto* chosen = Control<ui::CReportList>(kIdChosenSkills);
    if (chosen->GetItemCount() <= ChosenSkillLimit()) {
        return;
    }
    while (chosen->GetItemCount() > ChosenSkillLimit()) {
        chosen->DeleteItem(chosen->GetItemCount() - 1);
    }
    GetPrompter().MessageBox("「完全検索」を外したため、選択スキルは先頭の5個だけを残しました");
}

void CSimulatorDlg::OnBnClickedClearSkills() {
    Control<ui::CReportList>(kIdChosenSkills)->DeleteAllItems();
}
