#include "ui/config_dlg.h"
#include "ui/simulator_dlg.h"

void CSimulatorDlg::OnBnClickedConfig() {
    // After "中断" the button is enabled again while the engine winds down from inside its pump;
    // switching the defence data then would change the pieces under the running search.
    if (EngineBusy()) {
        return;
    }
    const int earlyData = m_config.m_bEarlyData;
    CConfigDlg dialog(&m_config, &m_search.database, GetPrompter(), this);
    dialog.DoModal();
    if (m_config.m_bEarlyData == earlyData) {
        return;
    }
    // The listed sets were measured with the other defence values; they go, and every piece
    // switches, so that sums, sorting and the minimum-defence filter agree from now on.
    ClearResultDisplay();
    m_search.database.SetUseBeforeData(m_config.m_bEarlyData);
}
