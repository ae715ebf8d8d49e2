#pragma once

#include <string>

#include "config/config_data.h"
#include "config/settings_import.h"
#include "engine/tables/equip_database.h"
#include "ui/framework/template_dialog.h"

// The configuration dialog (dialog 130): the two result limits and the defence-data option of the
// main window's configuration, and the import of a foreign settings file into list files. It
// changes the record in memory only; the main window writes Config.dat when it closes.
//
// Initialisation and the limits are in config_dlg.cpp, the import in config_dlg_import.cpp.
class CConfigDlg : public ui::CTemplateDialog {
    Q_OBJECT
public:
    CConfigDlg(CConfigData* config, const CEquipDatabase* database, ui::Prompter& prompter,
               QWidget* parent = nullptr);

    // Stores the limits and the option and closes, or refuses a limit below 1 and stays open.
    void OnOK();
    // Asks for a settings file and imports it.
    void OnBnClickedImport();
    // Reads the settings file at `path` and offers the excluded and the owned list it names for
    // saving. False only when the file cannot be opened.
    bool ImportSettings(const std::string& path);

    CConfigData* m_pConfig;
    const CEquipDatabase* m_pDatabase;
    CSettingsImport m_import;

protected:
    bool OnInitDialog() override;
};
