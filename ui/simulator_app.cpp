#include "ui/simulator_app.h"

#include "engine/tables/equip_database.h"
#include "platform/program_layout.h"
#include "ui/close_on_signal.h"
#include "ui/framework/qt_prompter.h"
#include "ui/framework/translations.h"
#include "ui/framework/ui_font.h"
#include "ui/simulator_dlg.h"

CSimulatorApp::CSimulatorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Kestrova");
    // Lets the desktop match the window with its menu entry and icon.
    setDesktopFileName("org.kestrova.kestrova");
    setFont(ui::DialogFont("", 9));
    ui::InstallJapaneseTranslations(*this);
}

int CSimulatorApp::Run() {
    const platform::ProgramLayout layout = platform::CurrentLayout(CEquipDatabase::TableFiles());
    // Installed, the player's folder may not exist yet; a failure here shows up as the save
    // messages later.
    platform::CreateFilesFolder(layout);
    ui::QtPrompter prompter;
    CSimulatorDlg dialog(layout.filesFolder, layout.dataFolder, prompter);
    prompter.SetParent(&dialog);
    CloseOnSignal closeOnSignal(dialog);
    const int result = dialog.DoModal();
    // The dialog ends with kLoadFailed only when the tables could not be read.
    return dialog.IsEnded() && result == CSimulatorDlg::kLoadFailed ? 1 : 0;
}
