#include <cstdio>

#include "res/dialog_102.h"
#include "ui/simulator_dlg.h"

// The equipment dialogs of the main window. They talk to the search only through the list files
// they save, which every search start reads, so nothing here is refreshed after they close. The
// temporary lists of the set-equipment list steer the next search too; the window shows what they
// hold.

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

void CSimulatorDlg::OnBnClickedTempLists() {
    // The engine reads nothing of the lists once it runs, but the completion empties them.
    if (EngineBusy()) {
        return;
    }
    m_listSetEquip.ShowTempLists();
}

void CSimulatorDlg::UpdateTempListStatus() {
    const int excluded = m_listSetEquip.TempExcludedCount();
    const int fixed = m_listSetEquip.TempFixedCount();
    std::string status;
    if (excluded + fixed != 0) {
        char text[96];
        std::snprintf(text, sizeof text, "次の検索に使う一時リスト: 除外 %d件 / 固定 %d件",
                      excluded, fixed);
        status = text;
        // The temporary fixed pieces stand in for the saved fixed set, which is not read then.
        if (fixed != 0 && IsChecked(res::kIdUseFixed)) {
            status += " (保存した固定装備より優先)";
        }
    }
    SetText(res::kIdTempListStatus, status);
    Enable(res::kIdTempLists, !m_bSearchLocked && !EngineBusy() && excluded + fixed != 0);
}
