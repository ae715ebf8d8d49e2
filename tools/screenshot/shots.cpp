#include "tools/screenshot/shots.h"

#include <QApplication>
#include <QComboBox>
#include <string>

#include "engine/advisor/skill_advisor.h"
#include "platform/sjis.h"

#include "res/dialog_102.h"
#include "tools/screenshot/equipment_shots.h"
#include "ui/config_dlg.h"
#include "ui/extra_skills_dlg.h"
#include "ui/simulator_dlg.h"

namespace {

// Chooses row `row` of the skill list as a double click does.
void ChooseSkill(CSimulatorDlg& dialog, int row) {
    auto* list = dialog.Control<ui::CReportList>(res::kIdSkillList);
    list->SelectRow(row);
    dialog.OnDblclkSkillList();
}

void ShowAllSkills(CSimulatorDlg& dialog) {
    dialog.Control<QComboBox>(res::kIdCategory)->setCurrentIndex(0);
    dialog.OnCbnSelchangeCategory();
}

// Chooses an activated skill by its name (UTF-8) from the rows shown.
void ChooseSkillNamed(CSimulatorDlg& dialog, const char* utf8Name) {
    const std::string name = platform::Utf8ToSjis(utf8Name);
    const auto& skills = dialog.m_search.database.Skills();
    auto* list = dialog.Control<ui::CReportList>(res::kIdSkillList);
    for (int row = 0; row < list->GetItemCount(); ++row) {
        const std::size_t skill = list->GetItemData(row);
        if (skill < skills.size() && name == skills[skill]->skillName) {
            ChooseSkill(dialog, row);
            return;
        }
    }
}

// A complete four-skill search with its first set selected, so the set details show, and one of
// its pieces put on the temporary excluded list for the next search.
void SearchAndSelectFirstSet(CSimulatorDlg& dialog) {
    ShowAllSkills(dialog);
    for (const char* skill : {"先読み", "重撃【大】", "剛腕", "解体上手"}) {
        ChooseSkillNamed(dialog, skill);
    }
    dialog.Click(res::kIdWeaponSlot2);
    dialog.Click(res::kIdSearch);
    QApplication::processEvents();
    dialog.Control<ui::CReportList>(res::kIdResult)->SelectRow(0);
    QApplication::processEvents();
    const auto& results = dialog.m_search.results;
    if (!results.empty() && results.front()->pieces[kArm] != nullptr) {
        dialog.m_listSetEquip.AddTempExcluded(*results.front()->pieces[kArm]);
    }
}

// The additional-skill list of the four skills the search picture chooses.
std::unique_ptr<ui::CTemplateDialog> ExtraSkillsDialog(CSimulatorDlg& dialog) {
    ShowAllSkills(dialog);
    for (const char* skill : {"先読み", "重撃【大】", "剛腕", "解体上手"}) {
        ChooseSkillNamed(dialog, skill);
    }
    CSearchCondition condition;
    dialog.BuildCondition(condition);
    bool aborted = false;
    SearchProgress progress;
    std::vector<int> rows =
        FindAddableSkills(dialog.m_search.database, condition, 2, progress, aborted);
    return std::make_unique<CExtraSkillsDlg>(
        dialog.m_search.database.Skills(), std::move(rows),
        ExtraSkillsChooser{[] { return false; }, [](int) {},
                           [] { return std::optional<std::vector<int>>{}; }, [] {}},
        dialog.GetPrompter(), &dialog);
}

} // namespace

std::vector<Shot> AllShots() {
    std::vector<Shot> shots{
        {"main",
         [](CSimulatorDlg& dialog) {
             ShowAllSkills(dialog);
             for (int row : {0, 8, 16}) {
                 ChooseSkill(dialog, row);
             }
         }},
        {"search", SearchAndSelectFirstSet},
        {"config", [](CSimulatorDlg&) {},
         [](CSimulatorDlg& dialog) -> std::unique_ptr<ui::CTemplateDialog> {
             return std::make_unique<CConfigDlg>(&dialog.m_config, &dialog.m_search.database,
                                                 dialog.GetPrompter(), &dialog);
         }},
        {"extra_skills", [](CSimulatorDlg&) {}, ExtraSkillsDialog},
    };
    for (Shot& shot : EquipmentShots()) {
        shots.push_back(std::move(shot));
    }
    return shots;
}
