#include "ui/config_dlg.h"

#include "res/dialog_130.h"
#include "ui/version.h"

using namespace res;

namespace {

// Beyond these the search may answer slowly or run out of memory; larger values are allowed.
constexpr int kAdvisedMaxDisplay = 10000;
constexpr int kAdvisedMaxCalc = 1000000;

constexpr char kLimitTooSmall[] = "1以上の値を設定して下さい";
constexpr char kLargeLimitWarning[] =
    "大きな値を設定すると レスポンスの大きな低下や メモリ不足によるクラッシュの原因となります";

} // namespace

CConfigDlg::CConfigDlg(CConfigData* config, const CEquipDatabase* database, ui::Prompter& prompter,
                       QWidget* parent)
    : ui::CTemplateDialog(kDialog130, prompter, parent), m_pConfig(config), m_pDatabase(database) {
    OnClicked(kIdConfigOk, [this] { OnOK(); });
    OnClicked(kIdConfigCancel, [this] { EndDialog(ui::kIdCancel); });
    OnClicked(kIdImport, [this] { OnBnClickedImport(); });
}

bool CConfigDlg::OnInitDialog() {
    SetText(kIdVersionLabel, std::string("Kestrova Assistant Ver. ") + GetVersionString());
    SetText(kIdMaxDisplay, std::to_string(m_pConfig->m_nMaxDisplay));
    SetText(kIdMaxCalc, std::to_string(m_pConfig->m_nMaxCalc));
    SetCheck(kIdEarlyData, m_pConfig->m_bEarlyData != 0);
    return true;
}

void CConfigDlg::OnOK() {
    // Both limits are checked before either is stored, so that a refused OK followed by Cancel
    // leaves the configuration as it was.
    const int maxDisplay = GetInt(kIdMaxDisplay);
    const int maxCalc = GetInt(kIdMaxCalc);
    if (maxDisplay <= 0 || maxCalc <= 0) {
        GetPrompter().MessageBox(kLimitTooSmall);
        return;
    }
    m_pConfig->m_nMaxDisplay = maxDisplay;
    m_pConfig->m_nMaxCalc = maxCalc;
    if (maxDisplay > kAdvisedMaxDisplay || maxCalc > kAdvisedMaxCalc) {
        GetPrompter().MessageBox(kLargeLimitWarning);
    }
    m_pConfig->m_bEarlyData = IsChecked(kIdEarlyData) ? 1 : 0;
    EndDialog(ui::kIdOk);
}
