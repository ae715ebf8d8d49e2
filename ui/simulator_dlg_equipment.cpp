#include "ui/simulator_dlg.h"

// The equipment dialogs of the main window. They talk to the search only through the list files
// they save, which every search start reads, so nothing here is refreshed after they close.

void CSimulatorDlg::OnBnClickedEditCustom() {
    m_dlgCustomEquip.DoModal();
}

void CSimulatorDlg::OnBnClickedEditOwn() {
    m_dlgOwn.DoModal();
}

void CSimulatorDlg::OnDblclkSetEquip() {
    const CEquipData* piece = m_listSetEquip.SelectedPiece();
    if (piece != nullptr && piece->materialCount[0] != 0) {
        m_listSetEquip.ShowMaterials(*piece);
    }
}
