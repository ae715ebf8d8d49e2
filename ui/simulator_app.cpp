#include "ui/simulator_app.h"

#include "platform/program_folder.h"
#include "ui/framework/qt_prompter.h"
#include "ui/framework/translations.h"
#include "ui/framework/ui_font.h"
#include "ui/simulator_dlg.h"

CSimulatorApp::CSimulatorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Kestrova");
    setFont(ui::DialogFont("", 9));
    ui::InstallJapaneseTranslations(*this);
}

int CSimulatorApp::Run() {
    ui::QtPrompter prompter;
    CSimulatorDlg dialog(platform::ProgramFolder(), prompter);
    prompter.SetParent(&dialog);
    const int result = dialog.DoModal();
    // The dialog ends with kLoadFailed only when the tables could not be read.
    return dialog.IsEnded() && result == CSimulatorDlg::kLoadFailed ? 1 : 0;
}
