#include "tools/screenshot/shots.h"

#include <QComboBox>

#include "res/dialog_102.h"
#include "tools/screenshot/equipment_shots.h"
#include "ui/config_dlg.h"
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
        {"config", [](CSimulatorDlg&) {},
         [](CSimulatorDlg& dialog) -> std::unique_ptr<ui::CTemplateDialog> {
             return std::make_unique<CConfigDlg>(&dialog.m_config, &dialog.m_search.database,
                                                 dialog.GetPrompter(), &dialog);
         }},
    };
    for (Shot& shot : EquipmentShots()) {
        shots.push_back(std::move(shot));
    }
    return shots;
}
