#include <QComboBox>

#include "res/dialog_129.h"
#include "ui/custom_equip_dlg.h"
#include "ui/equip_browser.h"

using namespace res::custom_equip;

void CCustomEquipDlg::FillSkillBox() {
    equip_browser::FillSkillSystemBox(*Control<QComboBox>(kIdSkill), *m_pDatabase);
}

int CCustomEquipDlg::SelectedCategory() const {
    return equip_browser::CategoryOf(*this, kCategoryIds);
}

void CCustomEquipDlg::RefreshCandidates() {
    const int category = SelectedCategory();
    EnableForCategory(category);
    equip_browser::Filter filter = BrowserFilter(kIdNameFilter, kIdSkill);
    filter.rarity = equip_browser::SelectedValue(*this, kIdRarity);
    filter.tiers = (IsChecked(kIdLowTier) ? 1u : 0u) | (IsChecked(kIdHighTier) ? 2u : 0u) |
                   (IsChecked(kIdGTier) ? 4u : 0u);
    ShowCandidates(filter, category);
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

void CCustomEquipDlg::OnDblclkCandidates(bool ctrlHeld) {
    if (ctrlHeld) {
        OnBnClickedAddFixed();
    } else {
        OnBnClickedAddExcluded();
    }
}
