#include <QComboBox>

#include "res/dialog_129.h"
#include "ui/custom_equip_dlg.h"
#include "ui/equip_browser.h"

using namespace res::custom_equip;

void CCustomEquipDlg::FillSkillBox() {
    equip_browser::FillSkillSystemBox(*Control<QComboBox>(kIdSkill), *m_pSkillTable);
}

int CCustomEquipDlg::SelectedCategory() const {
    return equip_browser::CategoryOf(*this, kCategoryIds);
}

void CCustomEquipDlg::RefreshCandidates() {
    const int category = SelectedCategory();
    EnableForCategory(category);
    FillCandidates(category);
}

// Tiers belong to decorations and rarity to armour: each filter is offered only where it can
// take effect.
void CCustomEquipDlg::EnableForCategory(int category) {
    const bool decorations = category == kDecoCategory;
    const bool oneSlot = category != kAllKinds && !decorations;
    Enable(kIdAddFixed, !decorations);
    for (int id : {kIdLowTier, kIdHighTier, kIdGTier}) {
        Enable(id, !oneSlot);
    }
    Enable(kIdRarity, !decorations);
}

void CCustomEquipDlg::FillCandidates(int category) {
    equip_browser::Filter filter;
    filter.sex = equip_browser::ChoiceOf(*this, kIdMale, kIdFemale);
    filter.job = equip_browser::ChoiceOf(*this, kIdBlade, kIdGunner);
    filter.name = equip_browser::NameFilterOf(*this, kIdNameFilter);
    filter.skill = equip_browser::SelectedValue(*this, kIdSkill);
    filter.rarity = equip_browser::SelectedValue(*this, kIdRarity);
    filter.tiers = (IsChecked(kIdLowTier) ? 1u : 0u) | (IsChecked(kIdHighTier) ? 2u : 0u) |
                   (IsChecked(kIdGTier) ? 4u : 0u);

    equip_browser::Sources sources;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        sources.armour[slot] = m_pArmourTables[slot];
    }
    sources.decos = m_pDecoTable;
    equip_browser::ShowRows(m_listCandidates,
                            equip_browser::CollectRows(filter, category, sources));
}

const EquipRow* CCustomEquipDlg::SelectedCandidate() const {
    const EquipRow* row = m_listCandidates.Row(m_listCandidates.GetSelectedRow());
    return row != nullptr && row->pRecord != nullptr ? row : nullptr;
}

void CCustomEquipDlg::OnDblclkCandidates(bool ctrlHeld) {
    if (ctrlHeld) {
        OnBnClickedAddFixed();
    } else {
        OnBnClickedAddExcluded();
    }
}

ui::CReportList::CellColors CCustomEquipDlg::OnCustomdrawCandidates(int row, int /*column*/) const {
    return equip_browser::ShadedRow(row);
}
