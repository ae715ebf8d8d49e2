#include "ui/equip_info_dlg.h"

#include <cstring>
#include <string>

#include "platform/sjis.h"
#include "res/dialog_137.h"
#include "ui/framework/report_list.h"

using namespace res::equip_info;

CEquipInfoDlg::CEquipInfoDlg(ui::Prompter& prompter, QWidget* parent)
    : ui::CTemplateDialog(res::kDialog137, prompter, parent) {
    OnClicked(kIdOk, [this] { EndDialog(ui::kIdOk); });
}

int CEquipInfoDlg::MaterialCount(const CEquipData& piece) {
    int count = 0;
    while (count < kMaterialSlots && piece.materialCount[count] != 0 &&
           piece.materialName[count][0] != '\0') {
        ++count;
    }
    return count;
}

bool CEquipInfoDlg::OnInitDialog() {
    auto* list = Control<ui::CReportList>(kIdMaterials);
    list->InsertColumn(0, "素材", 120, ui::CReportList::kLeft);
    list->InsertColumn(1, "個数", 50, ui::CReportList::kRight);
    if (m_pEquip == nullptr) {
        return true;
    }
    SetText(kIdName, platform::SjisToShownText(m_pEquip->name));
    for (int k = 0; k < MaterialCount(*m_pEquip); ++k) {
        const std::size_t length =
            strnlen(m_pEquip->materialName[k], sizeof m_pEquip->materialName[k]);
        const int row = list->InsertItem(k, std::string_view(m_pEquip->materialName[k], length));
        list->SetItemText(row, 1, std::to_string(m_pEquip->materialCount[k]));
    }
    return true;
}
